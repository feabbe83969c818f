#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "log/wall_clock.h"

namespace kestrel::testing {

// Sets an environment variable until the end of the scope.
class scoped_env {
  public:
    scoped_env(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        if (old) old_ = old;
        had_ = old != nullptr;
        setenv(name, value, 1);
    }
    ~scoped_env() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    scoped_env(const scoped_env&) = delete;
    scoped_env& operator=(const scoped_env&) = delete;

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// A fresh folder per test, removed afterwards, and local time fixed to UTC so that clock
// readings print the same everywhere.
class log_test : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-log-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string file(const std::string& name) const { return (dir / name).string(); }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // 5 December 2026, 14:46:49 UTC, plus milliseconds.
    static wall_time dec5_144649(std::uint16_t milliseconds) { return {1796482009, milliseconds}; }

    std::filesystem::path dir;
};

}  // namespace kestrel::testing
