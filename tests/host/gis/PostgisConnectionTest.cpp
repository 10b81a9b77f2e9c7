// Connection strings of PostGIS data sets: the schemas they name, how they
// are shown, and a database that cannot be reached.
#include "Errors.h"
#include "Prelude.h"
#include "host/gis/PostgisWorkspace.h"

#include <gdal_priv.h>

namespace tov {
namespace {

TEST(PostgisConnectionTest, SchemasArePickedFromEitherOption) {
  using V = std::vector<std::string>;
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x"), V{});
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x schemas=a,b"), (V{"a", "b"}));
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:schemas=a dbname=x"), V{"a"});
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x active_schema='s t'"), V{"s t"});
  // An option whose name only ends the same is another option.
  EXPECT_EQ(PostgisWorkspace::NamedSchemas("PG:dbname=x myschemas=a"), V{});
}

TEST(PostgisConnectionTest, PasswordsAreNeverShown) {
  EXPECT_EQ(PostgisWorkspace::Shown("PG:dbname=x password=secret host=h"), "PG:dbname=x password=... host=h");
  EXPECT_EQ(PostgisWorkspace::Shown("PG:dbname=x password='a b'"), "PG:dbname=x password=...");
  EXPECT_TRUE(PostgisWorkspace::IsConnectionString("PG:dbname=x"));
  EXPECT_FALSE(PostgisWorkspace::IsConnectionString("dbname=x"));
  EXPECT_FALSE(PostgisWorkspace::IsConnectionString("PG:"));
}

TEST(PostgisConnectionTest, AServerThatCannotBeReachedIsAnErrorNamingTheConnection) {
  GDALAllRegister();
  for (const std::string connection : {"PG:host=/nonexistent-folder dbname=x password=secret", "dbname=x"}) {
    const std::string why = test::ErrorOf([&] { PostgisWorkspace::Open(connection); }).description;
    EXPECT_TRUE(test::Has(why, "dbname=x") && !test::Has(why, "secret")) << connection << ": " << why;
  }
}

} // namespace
} // namespace tov
