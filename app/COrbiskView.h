#pragma once

#include <QWidget>

class QLabel;

// The view shown until a report type has its own: the report's name, its
// description and header lines, and what was fetched.
class COrbiskView : public QWidget {
  Q_OBJECT
public:
  explicit COrbiskView(QWidget* parent = nullptr);

  void showReport(const QString& name, const QString& description, const QStringList& headerLines,
                  const QString& contents);
  void clear();

private:
  QLabel* m_name;
  QLabel* m_description;
  QLabel* m_header;
  QLabel* m_contents;
};
