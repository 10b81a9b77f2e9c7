#pragma once
#include "GisBuilders.h"
#include "host/common/Paths.h"
#include "host/gis/RegisterHostGisClasses.h"

#include <gtest/gtest.h>

namespace tov::test {

// A fresh temporary folder per test, removed afterwards.
class GisTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterHostGisClasses();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_dir = std::filesystem::temp_directory_path() /
            ("tov_gis_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string Native(const std::string& name = "") const { return name.empty() ? m_dir.string() : (m_dir / name).string(); }
  std::string Platform(const std::string& name = "") const { return ToPlatformPath(Native(name)); }

  std::filesystem::path m_dir;
};

} // namespace tov::test
