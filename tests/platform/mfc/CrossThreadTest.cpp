// A worker thread's SendMessage reaches a dialog whose thread runs the dialog's modal loop (and a
// message box's inside it); the handler runs on the dialog's thread and its answer comes back.
#include <atomic>
#include <future>
#include <thread>

#include "MfcTestSupport.h"

using namespace testing_mfc;

namespace {

constexpr UINT kQuestion = WM_APP + 10;
constexpr UINT kFinish = WM_APP + 11;
constexpr UINT kAskUser = WM_APP + 12;

class CWaitingDlg : public CDialog {
 public:
  CWaitingDlg() : CDialog(kFormDialog) {}
  std::promise<HWND> shown;
  DWORD handlerThread = 0;
  bool askedInBox = false;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    shown.set_value(m_hWnd);
    return TRUE;
  }
  afx_msg LRESULT OnQuestion(WPARAM wParam, LPARAM) {
    handlerThread = GetCurrentThreadId();
    askedInBox = ::GetActiveWindow() != m_hWnd;
    return static_cast<LRESULT>(wParam) * 3;
  }
  afx_msg LRESULT OnAskUser(WPARAM, LPARAM) { return AfxMessageBox("Waiting", MB_OK); }
  afx_msg LRESULT OnFinish(WPARAM wParam, LPARAM) {
    EndDialog(static_cast<int>(wParam));
    return 1;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CWaitingDlg, CDialog)
ON_MESSAGE(kQuestion, OnQuestion)
ON_MESSAGE(kFinish, OnFinish)
ON_MESSAGE(kAskUser, OnAskUser)
END_MESSAGE_MAP()

class CrossThreadTest : public MfcTest {};

TEST_F(CrossThreadTest, SendMessageFromAWorkerIsAnsweredInsideTheModalLoop) {
  CWaitingDlg dialog;
  std::future<HWND> target = dialog.shown.get_future();
  LRESULT answer = 0, finished = 0;
  std::thread worker([&] {
    HWND hwnd = target.get();
    answer = ::SendMessage(hwnd, kQuestion, 14, 0);
    finished = ::SendMessage(hwnd, kFinish, 33, 0);
  });
  EXPECT_EQ(dialog.DoModal(), 33);
  worker.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(dialog.handlerThread, GetCurrentThreadId()) << "the dialog's own thread ran the handler";
}

TEST_F(CrossThreadTest, AnswersStillComeWhileAMessageBoxIsUpOverTheDialog) {
  CWaitingDlg dialog;
  std::future<HWND> target = dialog.shown.get_future();
  std::atomic<LRESULT> answer{0};
  HWND hwnd = nullptr;
  bool boxUp = false;
  std::thread worker;
  IdleScript script;
  script
      .Then([&] {
        hwnd = target.get();
        ::PostMessage(hwnd, kAskUser, 0, 0);
      })
      .Then([&] {
        // The box's loop is the one waiting now; the worker asks the dialog meanwhile.
        boxUp = ::GetActiveWindow() != hwnd;
        worker = std::thread([&] { answer = ::SendMessage(hwnd, kQuestion, 5, 0); });
      })
      .Until([&] { return answer.load() != 0; })
      .Key(VK_RETURN)
      .Then([&] {
        worker.join();
        ::SendMessage(hwnd, kFinish, 8, 0);
      });
  EXPECT_EQ(dialog.DoModal(), 8);
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(boxUp);
  EXPECT_EQ(answer.load(), 15);
  EXPECT_TRUE(dialog.askedInBox) << "answered while the message box's loop ran";
}

}  // namespace
