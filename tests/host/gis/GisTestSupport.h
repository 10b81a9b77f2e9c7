#pragma once
#include "GisBuilders.h"
#include "host/common/Paths.h"
#include "host/gis/HostPolygon.h"
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

// Hands a fixed list of shapes to ConstructUnion.
class ListEnumerator : public GeometryEnumerator {
public:
  explicit ListEnumerator(std::vector<GeometryPtr> shapes) : m_shapes(std::move(shapes)) {}
  void BindGeometrySource(const QueryFilterPtr&, const ObjectPtr&) override {}
  void Reset() override { m_next = 0; }
  GeometryPtr Next() override { return m_next < m_shapes.size() ? m_shapes[m_next++] : nullptr; }
  long Count() override { return static_cast<long>(m_shapes.size()); }

private:
  std::vector<GeometryPtr> m_shapes;
  size_t m_next = 0;
};

// The host's union of the shapes and, when asked, how it was made.
inline PolygonPtr UnionOf(std::vector<GeometryPtr> shapes, UnionMethod* method = nullptr) {
  auto result = CreateAs<Polygon>("orvaCore.Polygon");
  auto enumerator = std::make_shared<ListEnumerator>(std::move(shapes));
  if (method) *method = std::dynamic_pointer_cast<HostPolygon>(result)->ConstructUnionReportingMethod(enumerator);
  else result->ConstructUnion(enumerator);
  return result;
}

} // namespace tov::test
