// Opening the profile: the screen of variant-form values that every
// SettingsStore runs before QSettings reads the file, beside QSettings' own
// open and read of the same file.
#include "core/IniVariantScreen.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// A profile of the size a user accumulates: every report's window, chart and
// axis settings under the version key, plus a few lists QSettings writes in
// variant form.
QString writeProfile(const QTemporaryDir& dir, int keys) {
  const QString path = dir.path() + QStringLiteral("/profile.ini");
  QSettings s(path, QSettings::IniFormat);
  for (int i = 0; i < keys; ++i)
    s.setValue(QStringLiteral("All Versions/Settings/Report %1/Value %2").arg(i / 20).arg(i % 20),
               QStringLiteral("Quillon - %1").arg(i));
  for (int i = 0; i < 5; ++i)
    s.setValue(QStringLiteral("All Versions/Lists/L%1").arg(i), QVariantList{QStringLiteral("one")});
  s.sync();
  return path;
}

void BM_Screen(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = writeProfile(dir, int(state.range(0)));
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  const QByteArray content = f.readAll();
  for (auto _ : state) benchmark::DoNotOptimize(IniVariantScreen::screen(content).screenedValues);
  state.counters["bytes"] = double(content.size());
}

void BM_ScreenFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = writeProfile(dir, int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(IniVariantScreen::screenFile(path));
}

void BM_QSettingsReadAll(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = writeProfile(dir, int(state.range(0)));
  // QSettings keeps a parsed file while its size and time stay the same: this
  // is what every open after the first costs.
  for (auto _ : state) {
    QSettings s(path, QSettings::IniFormat);
    for (const QString& key : s.allKeys()) benchmark::DoNotOptimize(s.value(key));
  }
}

BENCHMARK(BM_Screen)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScreenFile)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QSettingsReadAll)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
