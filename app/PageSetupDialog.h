#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

// Edits the report text printed at the top of every report page.
class PageSetupDialog : public QDialog {
  Q_OBJECT
public:
  // The settings keep the text in at most 256 bytes of UTF-8, terminator
  // included; a longer text would come back cut after a restart.
  static constexpr int kMaxBytes = 255;

  explicit PageSetupDialog(const QString& reportText, QWidget* parent = nullptr);

  QString reportText() const;

  // Shows the dialog modally; the edited text, or nothing when cancelled.
  static std::optional<QString> edit(QWidget* parent, const QString& reportText);

private:
  QLineEdit* m_text;
};
