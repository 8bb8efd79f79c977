#pragma once

#include "sim/DemoSeeder.h"
#include "sim/SimDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

// The demo database of one test binary, seeded on first use in a folder of
// its own that goes when the binary ends, so test runs leave nothing behind.
inline std::string seededDemoDatabase(int32_t end, int days) {
  struct Folder {
    std::filesystem::path path;
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder{std::filesystem::temp_directory_path() /
                             ("quillon-demo-" + std::to_string(::getpid()))};
  static const std::string file = [&] {
    std::filesystem::create_directories(folder.path);
    const std::string f = (folder.path / "demo.db").string();
    std::string error;
    auto db = SimDatabase::open(f, &error);
    EXPECT_TRUE(db && DemoSeeder(end, days).seed(*db, &error)) << error;
    return f;
  }();
  return file;
}
