// The trackers of the map canvas without a window: the pointer's path in
// pixels becomes a shape in map units.
#include "host/gui/tracking/MapTracker.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

// 100 x 100 pixels showing the map square 0..10: one pixel is 0.1 map units,
// y pointing up.
const MapViewport kViewport(0, 0, 10, 10, QSize(100, 100));

TEST(MapTrackerTest, ACircleIsCentredOnThePressWithTheDraggedRadius) {
  auto tracker = MapTracker::Start(TrackKind::Circle, QPointF(50, 50));
  tracker->Move(QPointF(80, 90));
  ASSERT_TRUE(tracker->Release(QPointF(80, 90)));
  const TrackedShape circle = tracker->Result(kViewport);
  EXPECT_EQ(circle.Kind, TrackKind::Circle);
  EXPECT_FALSE(circle.Empty);
  EXPECT_DOUBLE_EQ(circle.CenterX, 5);
  EXPECT_DOUBLE_EQ(circle.CenterY, 5);
  EXPECT_DOUBLE_EQ(circle.Radius, 5); // 50 pixels
  // Released where pressed: no circle.
  auto click = MapTracker::Start(TrackKind::Circle, QPointF(50, 50));
  click->Release(QPointF(50, 50));
  EXPECT_TRUE(click->Result(kViewport).Empty);
}

TEST(MapTrackerTest, ARectangleGoesCornerToCornerAndASmallDragIsAClick) {
  auto tracker = MapTracker::Start(TrackKind::Rectangle, QPointF(80, 20));
  ASSERT_TRUE(tracker->Release(QPointF(20, 60)));
  const TrackedShape box = tracker->Result(kViewport);
  EXPECT_FALSE(box.Empty);
  EXPECT_DOUBLE_EQ(box.XMin, 2);
  EXPECT_DOUBLE_EQ(box.XMax, 8);
  EXPECT_DOUBLE_EQ(box.YMin, 4);
  EXPECT_DOUBLE_EQ(box.YMax, 8);
  auto click = MapTracker::Start(TrackKind::Rectangle, QPointF(50, 50));
  click->Release(QPointF(52, 48));
  EXPECT_TRUE(click->Result(kViewport).Empty);
}

TEST(MapTrackerTest, APolygonEndsOnlyWithADoubleClickAndNeedsThreeVertices) {
  auto tracker = MapTracker::Start(TrackKind::Polygon, QPointF(0, 100));
  EXPECT_FALSE(tracker->Release(QPointF(0, 100)));
  tracker->Press(QPointF(100, 100));
  EXPECT_TRUE(tracker->DoubleClick(QPointF(100, 100))); // its press added the vertex already
  EXPECT_TRUE(tracker->Result(kViewport).Empty);

  tracker = MapTracker::Start(TrackKind::Polygon, QPointF(0, 100));
  tracker->Press(QPointF(100, 100));
  tracker->Press(QPointF(100, 0));
  EXPECT_TRUE(tracker->DoubleClick(QPointF(100, 0)));
  const TrackedShape ring = tracker->Result(kViewport);
  EXPECT_FALSE(ring.Empty);
  EXPECT_TRUE(ring.Closed);
  ASSERT_EQ(ring.Points.size(), 3u);
  EXPECT_DOUBLE_EQ(ring.Points[2].first, 10);
  EXPECT_DOUBLE_EQ(ring.Points[2].second, 10);
}

} // namespace
} // namespace tov
