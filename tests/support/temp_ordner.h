#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace klebwerk::test {

// A fresh folder per test, removed afterwards.
inline std::filesystem::path neuerTempOrdner(const std::string& wort) {
    auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    auto pfad = std::filesystem::temp_directory_path() / ("klebwerk-" + wort + "-" + name);
    std::filesystem::remove_all(pfad);
    std::filesystem::create_directories(pfad);
    return pfad;
}

}  // namespace klebwerk::test
