#pragma once

#include <QString>
#include <functional>

namespace ampelsim::ui {

inline constexpr char HelpDocumentName[] = "Idrun210.pdf";

// Hands a PDF file to a program that shows it; false when there is none.
using PdfViewer = std::function<bool(const QString& path)>;

// The desktop's viewer for PDF files. xdg-open starts without complaint even
// when no program for PDF files is set up, so the desktop is asked first.
bool OpenWithDesktopViewer(const QString& path);

// The help document in the start directory, handed to the desktop's viewer.
class HelpDocument {
 public:
  enum class OpenResult { Missing, Opened, NoViewer };

  explicit HelpDocument(const QString& startDirectory, PdfViewer viewer = OpenWithDesktopViewer);

  const QString& Path() const { return path_; }
  bool Exists() const;
  void SetViewer(PdfViewer viewer) { viewer_ = std::move(viewer); }

  // Opens the document when it is there; the file is looked for again on
  // every call, so one copied in later is found. The viewer's answer is not
  // waited for.
  OpenResult Open() const;

 private:
  QString path_;
  PdfViewer viewer_;
};

// What the user reads when no program can show the help document.
QString NoHelpViewerText(const QString& path);

}  // namespace ampelsim::ui
