// CWyxXMLNodeWrite: the data model's streaming XML writer. Text collects in a per-thread
// buffer: InitBuffer empties it, FillXMLFileHeader adds the declaration, each node writes its
// start tag when flushed and its end tag when destroyed, and WriteHandleFile (or the atomic
// WriteBufferToFile) puts the buffer into the file.
//
//   CWyxXMLNodeWrite::m_hanldeXMLWriteFile = file;
//   CWyxXMLNodeWrite::InitBuffer();
//   CWyxXMLNodeWrite::FillXMLFileHeader();
//   auto* root = new CWyxXMLNodeWrite(0, "Slides", 0);
//   root->Flush();
//   { CWyxXMLNodeWrite node(1, "slideNode", 0); node.AddAttribute("d_URL", url);
//     node.SetValue(label); node.Flush(); }            // <slideNode d_URL="...">label</slideNode>
//   delete root;                                          // </Slides>
//   CWyxXMLNodeWrite::WriteHandleFile();
//
// Text is UTF-8; values are escaped so that a reader gets back exactly what was given, except
// characters XML 1.0 cannot carry at all (control characters other than tab, line feed and
// carriage return), which are left out, and invalid UTF-8, which becomes U+FFFD. An element or
// attribute name that is not an XML name, or an attribute given twice, spoils the buffer (the
// write calls then fail with ERROR_INVALID_NAME), and so do a second top-level element and a node
// destroyed before a node nested in it (ERROR_INVALID_DATA); a write while nodes are still open
// fails too: never a file that no reader accepts.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

class CWyxXMLNodeWrite {
 public:
  // Where WriteHandleFile sends the buffer: this handle when set, else this stream. Not owned.
  // Both, like the buffer, belong to the calling thread.
  static thread_local HANDLE m_hanldeXMLWriteFile;
  static thread_local FILE* m_pXMLWriteFile;

  // Empties the buffer and forgets any spoiled state and open node.
  static void InitBuffer();
  // Appends <?xml version="1.0" encoding="UTF-8"?>.
  static void FillXMLFileHeader();
  // Writes the whole buffer to the handle or stream. FALSE with the last error set when neither
  // is set, the buffer is spoiled or a write fails.
  static BOOL WriteHandleFile();
  // Replaces the file at lpszPath by the buffer atomically (temporary file + rename): on any
  // failure the old file is untouched. FALSE with the last error set.
  static BOOL WriteBufferToFile(LPCTSTR lpszPath);
  // The buffer as written so far.
  static CString GetBufferText();

  // A node at nesting level nLevel (its indentation); lpszValue, when not null, is its text.
  CWyxXMLNodeWrite(int nLevel, LPCTSTR lpszName, LPCTSTR lpszValue);
  // Writes the end tag when the node was flushed, or the whole element when it never was.
  ~CWyxXMLNodeWrite();
  CWyxXMLNodeWrite(const CWyxXMLNodeWrite&) = delete;
  CWyxXMLNodeWrite& operator=(const CWyxXMLNodeWrite&) = delete;

  // Attributes are written in the order they are added; FALSE after Flush, for a bad name and
  // for a name given before.
  BOOL AddAttribute(LPCTSTR lpszName, LPCTSTR lpszValue);
  BOOL AddAttribute(LPCTSTR lpszName, int nValue);
  // The node's text; FALSE after Flush.
  BOOL SetValue(LPCTSTR lpszValue);
  // Writes the start tag, the attributes and the text. Nodes flushed before this one is
  // destroyed become its children. FALSE when already flushed.
  BOOL Flush();

 private:
  int m_nLevel;
  std::string m_name;
  std::string m_value;
  std::vector<std::pair<std::string, std::string>> m_attributes;
  bool m_flushed = false;
  size_t m_serial = 0;      // the buffer's node count when this node was flushed
  size_t m_generation = 0;  // the document (InitBuffer call) this node was flushed into
};
