#pragma once

#include <QString>

namespace ampelsim::ui {

inline constexpr char HelpDocumentName[] = "Idrun210.pdf";

// The help document in the start directory, handed to the desktop's viewer.
class HelpDocument {
 public:
  explicit HelpDocument(const QString& startDirectory);

  const QString& Path() const { return path_; }
  bool Exists() const;

  // Opens the document when it is there; the file is looked for again on
  // every call, so one copied in later is found. The viewer's answer is not
  // waited for.
  void Open() const;

 private:
  QString path_;
};

}  // namespace ampelsim::ui
