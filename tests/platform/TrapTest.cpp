#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/Trap.h"

#include "Errors.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace tov;

namespace {
// Location, number, source, description.
using Report = std::tuple<std::string, long, std::string, std::string>;

class RecordingReporter : public ErrorReporter {
public:
  void ReportError(const std::string& location, long number, const std::string& source,
                   const std::string& description) override {
    reports.emplace_back(location, number, source, description);
  }
  std::vector<Report> reports;
};

constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurExtentTask";

class TrapTest : public ::testing::Test {
protected:
  std::shared_ptr<RecordingReporter> reporter = std::make_shared<RecordingReporter>();
  ErrorSite site{reporter, kModulePath};
};

class Thing : public virtual Object {
public:
  virtual int Id() const { return 1; }
};
class OtherThing : public Thing {
public:
  int Id() const override { return 2; }
};
} // namespace

TEST_F(TrapTest, ReportsProcedureThenModulePathAndReturnsDefault) {
  int done = 0;
  bool result = Trap(site, "ITovTask_Init ", false, [&] {
    done = 1; // work before the failure stays done
    throw HostError(91, "orvaCore", "Object variable not set");
    return true;
  });
  EXPECT_EQ(std::tuple(result, done), std::tuple(false, 1));
  EXPECT_EQ(reporter->reports, (std::vector<Report>{{"ITovTask_Init TovSetupStudyArea\\TovSSACurExtentTask", 91,
                                                    "orvaCore", "Object variable not set"}}));
}

TEST_F(TrapTest, SuccessIsNotReportedAndVoidFormWorks) {
  EXPECT_EQ(Trap(site, "ITovTask_Status ", 0, [] { return 1; }), 1);
  Trap(site, "ITovTask_Cleanup ", [] { throw HostError(); });
  // A failure report without a pending error.
  EXPECT_EQ(reporter->reports, (std::vector<Report>{{std::string("ITovTask_Cleanup ") + kModulePath, 0, "", ""}}));
}

TEST_F(TrapTest, ForeignExceptionsBecomePendingErrors) {
  ObjectPtr none = Trap(site, "ITovTask_TovFunction ", ObjectPtr(), []() -> ObjectPtr { throw std::runtime_error("disk full"); });
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(reporter->reports.size(), 1u);
  const auto& [location, number, source, description] = reporter->reports[0];
  EXPECT_TRUE(description == "disk full" && number != 0) << number << " " << description;
}

TEST(ObjectRegistry, CreatesByProgIdIgnoringCaseAndRaises429WhenUnknown) {
  RegisterClassOf<Thing>("Test.Thing");
  EXPECT_EQ(CreateAs<Thing>("test.THING")->Id(), 1);
  const test::Raised error = test::ErrorOf([] { CreateObject("Test.Nothing"); });
  EXPECT_TRUE(error.number == 429 && test::Has(error.description, "Test.Nothing")) << error.number << error.description;
}

TEST(ObjectRegistry, EveryRegistrationChangesTheGenerationAndTheFactoryCanBePutBack) {
  const uint64_t before = RegistryGeneration();
  RegisterClassOf<Thing>("Test.Generation");
  const uint64_t registered = RegistryGeneration();
  EXPECT_NE(registered, before);
  EXPECT_EQ(RegistryGeneration(), registered); // creating objects changes nothing
  CreateObject("Test.Generation");
  EXPECT_EQ(RegistryGeneration(), registered);

  // Registering again replaces the class.
  ObjectFactory original = RegisteredFactory("TEST.generation");
  ASSERT_TRUE(original);
  RegisterClassOf<OtherThing>("Test.Generation");
  EXPECT_EQ(CreateAs<Thing>("Test.Generation")->Id(), 2);
  RegisterClass("Test.Generation", original);
  EXPECT_EQ(CreateAs<Thing>("Test.Generation")->Id(), 1);

  const uint64_t put = RegistryGeneration();
  EXPECT_TRUE(UnregisterClass("Test.Generation"));
  EXPECT_NE(RegistryGeneration(), put);
  EXPECT_FALSE(RegisteredFactory("Test.Generation") || IsClassRegistered("Test.Generation"));
}
