#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/base/Exceptions.h"

namespace {

// Counts live instances, to see who frees a caught exception.
class CCountedException : public CException {
 public:
  CCountedException() { ++s_alive; }
  ~CCountedException() override { --s_alive; }
  static inline int s_alive = 0;
};

std::string Message(const CException& e) {
  char text[256];
  EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
  return text;
}

TEST(Exceptions, CatchMacrosFreeTheExceptionOnce) {
  TRY {
    throw new CCountedException;
  }
  CATCH(CCountedException, e) {
    EXPECT_EQ(CCountedException::s_alive, 1);
  }
  END_CATCH
  EXPECT_EQ(CCountedException::s_alive, 0);

  // Deleting it in the handler as well must not free it twice.
  TRY {
    throw new CCountedException;
  }
  CATCH_ALL(e) {
    e->Delete();
  }
  END_CATCH_ALL
  EXPECT_EQ(CCountedException::s_alive, 0);

  // A rethrown exception outlives the inner handler and reaches the outer one.
  bool outer = false;
  TRY{TRY{throw new CCountedException;
}
CATCH(CCountedException, e) {
  THROW_LAST();
}
END_CATCH
}  // namespace
CATCH(CException, e) {
  outer = true;
  EXPECT_EQ(CCountedException::s_alive, 1);
}
END_CATCH
EXPECT_TRUE(outer);
EXPECT_EQ(CCountedException::s_alive, 0);
}

TEST(Exceptions, AndCatchPicksTheMatchingHandler) {
  int which = 0;
  TRY {
    AfxThrowArchiveException(CArchiveException::badClass);
  }
  CATCH(CFileException, e) {
    which = 1;
  }
  AND_CATCH(CArchiveException, e) {
    which = 2;
    EXPECT_EQ(e->m_cause, CArchiveException::badClass);
  }
  END_CATCH
  EXPECT_EQ(which, 2);
}

TEST(Exceptions, PlainCatchAndDelete) {
  try {
    throw new CCountedException;
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    e->Delete();
  }
  EXPECT_EQ(CCountedException::s_alive, 0);

  // The shared memory exception survives Delete.
  for (int i = 0; i < 2; ++i) {
    try {
      AfxThrowMemoryException();
    } catch (CMemoryException* e) {
      EXPECT_FALSE(e->m_bAutoDelete);
      e->Delete();
    }
  }
}

TEST(Exceptions, ThrowFunctionsCarryTheirDetails) {
  try {
    AfxThrowFileException(CFileException::diskFull, 112, "/tmp/out.bin");
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::diskFull);
    EXPECT_EQ(e->m_lOsError, 112);
    EXPECT_EQ(e->m_strFileName, "/tmp/out.bin");
    EXPECT_NE(Message(*e).find("/tmp/out.bin"), std::string::npos);
    e->Delete();
  }
  int caught = 0;
  try {
    AfxThrowNotSupportedException();
  } catch (CNotSupportedException* e) {
    ++caught;
    e->Delete();
  }
  try {
    AfxThrowInvalidArgException();
  } catch (CInvalidArgException* e) {
    ++caught;
    e->Delete();
  }
  EXPECT_EQ(caught, 2);
}

TEST(Exceptions, CausesFromSystemErrors) {
  struct Case {
    int err;
    int cause;
  };
  const Case kErrno[] = {{ENOENT, CFileException::fileNotFound}, {EACCES, CFileException::accessDenied},
                         {ENOSPC, CFileException::diskFull},     {EMFILE, CFileException::tooManyOpenFiles},
                         {ENOTDIR, CFileException::badPath},     {EIO, CFileException::hardIO}};
  for (const auto& c : kErrno) EXPECT_EQ(CFileException::ErrnoToException(c.err), c.cause) << c.err;
  EXPECT_EQ(CFileException::OsErrorToException(2), CFileException::fileNotFound);
  EXPECT_EQ(CFileException::OsErrorToException(5), CFileException::accessDenied);
  EXPECT_EQ(CFileException::OsErrorToException(32), CFileException::sharingViolation);
  EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
}

TEST(Exceptions, MessagesFitTheBuffer) {
  const CArchiveException e(CArchiveException::endOfFile, "settings.dat");
  EXPECT_EQ(Message(e), "settings.dat ended unexpectedly.");
  char small[8];
  UINT help = 99;
  EXPECT_TRUE(e.GetErrorMessage(small, sizeof small, &help));
  EXPECT_STREQ(small, "setting");
  EXPECT_EQ(help, 0u);
  EXPECT_FALSE(e.GetErrorMessage(small, 0));
  EXPECT_EQ(Message(CFileException(999)).empty(), false);  // unknown cause still reads
  EXPECT_EQ(Message(CMemoryException()), "Out of memory.");
}

}  // namespace
