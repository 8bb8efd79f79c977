#pragma once

// A new user's settings for the benchmarks that drive the whole program: an
// empty profile and the machine file holding the demo identity, in `dir`.
#include "core/IdentityScrambler.h"
#include "core/Prompts.h"
#include "sim/DemoSeeder.h"

#include <QSettings>
#include <QString>
#include <cstdio>

inline void useDemoProfile(const QString& dir) {
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir + "/user");
  QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, dir + "/system");
  QSettings machine(dir + "/system/Veltrix/PM.ini", QSettings::IniFormat);
  machine.setValue("Client/ServerInfo/Extra1",
                   QString::fromLatin1(ScrambleIdentity(DemoSeeder::kUser).c_str()));
  machine.setValue("Client/ServerInfo/Extra2",
                   QString::fromLatin1(ScrambleIdentity(DemoSeeder::kPassword).c_str()));
}

// Messages have nowhere to go in a benchmark: each is printed and counted, and
// one means the run failed. Installed for as long as it lives.
struct CountingPrompts : Prompts {
  int count = 0;
  CountingPrompts() { Prompts::install(this); }
  ~CountingPrompts() override { Prompts::install(nullptr); }
  CountingPrompts(const CountingPrompts&) = delete;
  CountingPrompts& operator=(const CountingPrompts&) = delete;

protected:
  void show(QWidget*, const QString& text, const QString&) override {
    ++count;
    std::fprintf(stderr, "message: %s\n", text.toLocal8Bit().constData());
  }
};
