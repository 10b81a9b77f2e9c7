// A union of many shapes that the user gives up stops inside GEOS with the
// user's interrupt, and one that goes on gives the same shape as without a
// front end asking.
#include "GisTestSupport.h"

#include "host/common/WorkCancel.h"
#include "host/gis/GisErrors.h"
#include "host/gis/PolygonUnion.h"

#include <geos_c.h>
#include <ogr_geometry.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace tov::test {
namespace {

// Overlapping discs, so that the union is the general one and takes a while.
GEOSGeometry* Discs(int across) {
  GEOSContextHandle_t h = GeosHandle();
  std::vector<GEOSGeometry*> parts;
  for (int i = 0; i < across; ++i)
    for (int j = 0; j < across; ++j) {
      OGRLinearRing ring;
      for (int k = 0; k <= 64; ++k) {
        const double a = 2 * M_PI * (k % 64) / 64;
        ring.addPoint(i * 0.7 + std::cos(a), j * 0.7 + std::sin(a));
      }
      OGRPolygon disc;
      disc.addRing(&ring);
      parts.push_back(disc.exportToGEOS(h));
    }
  return GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size()));
}

TEST(UnionCancelTest, AUnionGivenUpStopsWithTheUsersInterruptAndOneLetRunIsWhole) {
  const double wholeArea = UnitePolygons(Discs(20), nullptr, "test")->get_Area();

  int asked = 0;
  {
    CancelPoll poll([&] { return ++asked >= 1; });
    // The first question is due at once.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ErrorOf([] { UnitePolygons(Discs(20), nullptr, "test"); }).number, kUserInterruptError)
        << "the union went on";
  }
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(CancelledWorkCount(), 1);

  // Asked all along and never given up: the same union.
  int polls = 0;
  {
    CancelPoll poll([&] {
      ++polls;
      return false;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NEAR(UnitePolygons(Discs(20), nullptr, "test")->get_Area(), wholeArea, 1e-9 * wholeArea);
  }
  EXPECT_GE(polls, 1);
  // Without a front end nothing is ever given up.
  EXPECT_FALSE(WorkCancelled());
}

} // namespace
} // namespace tov::test
