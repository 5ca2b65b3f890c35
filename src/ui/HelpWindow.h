// The help window: the HTML manual shown at its first page, never larger
// than the screen's free area.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace zub {

class HelpWindow : public QDialog {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows `path` (an HTML file) and brings the window forward.
  void ShowTopic(const QString& path);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace zub
