#pragma once

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Points the per-user and machine-wide settings at a fresh temporary folder
// for the duration of one test, so no test reads or touches a real profile.
class TempSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, systemDir());
  }

  QString userDir() const { return m_dir.path() + QStringLiteral("/user"); }
  QString systemDir() const { return m_dir.path() + QStringLiteral("/system"); }
  QString userFile() const { return userDir() + QStringLiteral("/Veltrix/Orlane Quillon.ini"); }
  QString machineFile() const { return systemDir() + QStringLiteral("/Veltrix/PM.ini"); }

  static void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
  }
  static QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

private:
  QTemporaryDir m_dir;
};
