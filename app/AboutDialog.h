#pragma once

#include <QDialog>

// The about box: program name, version, build time and what the program is for.
class AboutDialog : public QDialog {
  Q_OBJECT
public:
  explicit AboutDialog(QWidget* parent = nullptr);

  static QString versionText();  // "Version 1.0.0"
  static QString buildText();    // "Built Mar 05, 2024  01:02:03 PM"
};
