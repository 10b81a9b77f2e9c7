#include "GisTestSupport.h"

#include "host/gis/HostPolygon.h"

#include <cmath>
#include <cstdlib>

namespace tov::test {
namespace {

using GeometryTest = GisTest;

TEST_F(GeometryTest, AdjacentSquaresUniteIntoOneRingAsACoverage) {
  UnionMethod method = UnionMethod::None;
  PolygonPtr u = UnionOf({Square(0, 0, 1), Square(1, 0, 1)}, &method);
  EXPECT_EQ(method, UnionMethod::Coverage);
  EXPECT_EQ(u->PartCount(), 1);
  EXPECT_EQ(u->RingCount(), 1);
  EXPECT_NEAR(u->Area(), 2.0, 1e-9);
  EnvelopePtr e = u->Envelope();
  EXPECT_DOUBLE_EQ(e->Width(), 2.0);
  EXPECT_DOUBLE_EQ(e->Height(), 1.0);
}

TEST_F(GeometryTest, OverlappingInputFallsBackAndStillUnites) {
  UnionMethod method = UnionMethod::None;
  PolygonPtr u = UnionOf({Square(0, 0, 2), Square(1, 1, 2)}, &method);
  EXPECT_EQ(method, UnionMethod::Unary);
  EXPECT_STREQ(UnionMethodName(method), "unary");
  EXPECT_EQ(u->PartCount(), 1);
  EXPECT_NEAR(u->Area(), 7.0, 1e-9);
}

// The benchmarks time whole processes on the plain unary union: the variable
// must switch the method, give the same answer, and be off again when unset
// or "0".
TEST_F(GeometryTest, BenchmarkVariableSwitchesToThePlainUnaryUnion) {
  auto squares = [] { return std::vector<GeometryPtr>{Square(0, 0, 1), Square(1, 0, 1)}; };
  UnionMethod method = UnionMethod::None;
  ::setenv(kPlainUnaryUnionVariable, "1", 1);
  PolygonPtr u = UnionOf(squares(), &method);
  EXPECT_EQ(method, UnionMethod::Unary);
  EXPECT_EQ(u->PartCount(), 1);
  EXPECT_NEAR(u->Area(), 2.0, 1e-9);
  ::setenv(kPlainUnaryUnionVariable, "0", 1);
  UnionOf(squares(), &method);
  EXPECT_EQ(method, UnionMethod::Coverage);
  ::unsetenv(kPlainUnaryUnionVariable);
  UnionOf(squares(), &method);
  EXPECT_EQ(method, UnionMethod::Coverage);
}

TEST_F(GeometryTest, InvalidInputIsRepairedBeforeTheUnion) {
  PolygonPtr bowTie = MakePolygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}, {0, 0}});
  PolygonPtr u = UnionOf({bowTie, Square(5, 5, 1)});
  EXPECT_NEAR(u->Area(), 2.0 + 1.0, 1e-9);

  // Invalid and touching a neighbour: once repaired, the right lobe and the
  // square share an edge and unite into one part.
  u = UnionOf({bowTie, Square(2, 0, 2)});
  EXPECT_NEAR(u->Area(), 2.0 + 4.0, 1e-9);
  EXPECT_EQ(u->PartCount(), 2);
}

TEST_F(GeometryTest, UnionTakesTheSystemOfItsShapesAndProjectsOthers) {
  SpatialReferencePtr nad83 = Geographic(4269);
  PolygonPtr a = Square(-96, 40, 0.1, nad83);
  PolygonPtr b = Square(-95.9, 40, 0.1, nad83);
  b->Project(Projected(5070));
  PolygonPtr u = UnionOf({a, b});
  ASSERT_TRUE(u->SpatialReference());
  EXPECT_EQ(u->SpatialReference()->FactoryCode(), 4269);
  EXPECT_NEAR(u->Envelope()->Width(), 0.2, 1e-6);
}

TEST_F(GeometryTest, BowTieIsRepairedIntoTwoTriangles) {
  PolygonPtr bowTie = MakePolygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}});
  bowTie->Simplify();
  EXPECT_TRUE(bowTie->IsKnownSimple());
  EXPECT_TRUE(bowTie->IsClosed());
  EXPECT_EQ(bowTie->PartCount(), 2);
  EXPECT_NEAR(bowTie->Area(), 2.0, 1e-9);
}

TEST_F(GeometryTest, SimplifyClosesRingsAndDropsEmptyParts) {
  PolygonPtr p = MakePolygon({{0, 0}, {0, 1}, {1, 1}, {1, 0}});
  EXPECT_FALSE(p->IsClosed());
  p->StartNewPart();
  p->AddPoint(MakePoint(5, 5)); // a part with one point encloses nothing
  p->Simplify();
  EXPECT_TRUE(p->IsClosed());
  EXPECT_EQ(p->PartCount(), 1);
  EXPECT_EQ(p->PointCount(), 5);
}

TEST_F(GeometryTest, DensifyKeepsEverySegmentWithinTheBound) {
  PolygonPtr p = Square(0, 0, 10);
  p->Simplify();
  p->Densify(0.3, 0);
  ASSERT_GT(p->PointCount(), 100);
  for (long i = 1; i < p->PointCount(); ++i) {
    PointPtr a = p->Point(i - 1), b = p->Point(i);
    EXPECT_LE(std::hypot(b->X() - a->X(), b->Y() - a->Y()), 0.3 + 1e-12) << "segment " << i;
  }
  EXPECT_NEAR(p->Area(), 100.0, 1e-9);
  EXPECT_THROW(p->Densify(0, 0), HostError);
}

TEST_F(GeometryTest, GeneralizeDropsVerticesWithinTheOffset) {
  PolygonPtr p = MakePolygon({{0, 0}, {0, 5}, {0.00001, 5.00001}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
  p->Generalize(0.0001);
  EXPECT_EQ(p->PointCount(), 5);
}

TEST_F(GeometryTest, EnvelopeExpandsAboutItsCentreAndUnites) {
  auto e = CreateAs<Envelope>("orvaCore.Envelope");
  EXPECT_TRUE(e->IsEmpty());
  e->PutCoords(4, 3, 0, 1); // corners in any order
  e->Expand(1.5, 2, true);
  EXPECT_DOUBLE_EQ(e->XMin(), -1);
  EXPECT_DOUBLE_EQ(e->XMax(), 5);
  EXPECT_DOUBLE_EQ(e->YMin(), 0);
  EXPECT_DOUBLE_EQ(e->YMax(), 4);
  auto other = CreateAs<Envelope>("orvaCore.Envelope");
  other->PutCoords(10, -2, 11, -1);
  e->Union(other);
  EXPECT_DOUBLE_EQ(e->XMax(), 11);
  EXPECT_DOUBLE_EQ(e->YMin(), -2);
}

TEST_F(GeometryTest, UnionWithAnotherPolygonAndCopiesAreIndependent) {
  PolygonPtr a = Square(0, 0, 1);
  GeometryPtr copy = a->Copy();
  auto u = std::dynamic_pointer_cast<Polygon>(a->Union(Square(0.5, 0, 1)));
  ASSERT_TRUE(u);
  EXPECT_NEAR(u->Area(), 1.5, 1e-9);
  a->SetEmpty();
  EXPECT_TRUE(a->IsEmpty());
  EXPECT_FALSE(copy->IsEmpty());
}

} // namespace
} // namespace tov::test
