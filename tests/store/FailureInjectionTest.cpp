// Each host call of storing, opening, deleting and renaming a study area fails
// in turn: reported where it happened, and the analysis stays usable.
#include "AnalysisViews.h"
#include "HostCallCounter.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "manage/ManageSADialog.h"
#include "manage/TovDeleteExistingSAFunc.h"
#include "manage/TovOpenExistingSAFunc.h"
#include "store/StudyAreaCreation.h"

#include <iostream>

namespace tov::test {
namespace {

constexpr long kInjected = 31999;

bool IsHostCall(const std::string& progId) {
  // The error handler is how failures are reported, not a call that may fail.
  return progId.rfind("TovSSA.", 0) != 0 && progId != kErrorHandlerProgId;
}

class FailureInjectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    {
      AnalysisPtr analysis = world.Open();
      UseScript("[" + NameTurn("Before") + "]");
      ASSERT_TRUE(RunHostTask(*analysis, kCurExtentTaskProgId).Stored());
      SaveAnalysis(*analysis);
    }
    pristine = world.Root() + "/pristine";
    fs::copy(world.AnalysisFolder(), pristine, fs::copy_options::recursive);
  }

  void Restore() {
    fs::remove_all(world.AnalysisFolder());
    fs::copy(pristine, world.AnalysisFolder(), fs::copy_options::recursive);
  }

  // Prepares the operation on the analysis (uncounted) and gives the call
  // to make, which returns whether the operation succeeded.
  using Operation = std::function<std::function<bool()>(Analysis&)>;

  // Runs the operation once clean (n = 0, which counts its host calls) and
  // then once per host call it makes, the n-th failing. modulePaths: where
  // its reports may come from (its class, the store's helpers). Returns the
  // number of host calls of the clean run.
  long FailEachCall(const std::string& what, const std::string& location, const std::vector<std::string>& modulePaths,
                    const Operation& operation) {
    long total = 0;
    for (long n = 0; n == 0 || n <= total; ++n) {
      SCOPED_TRACE(what + ": host call " + std::to_string(n) + " of " + std::to_string(total) + " fails");
      Restore();
      const std::string description = "injected failure " + std::to_string(n);
      std::string failedClass;
      {
        AnalysisPtr analysis = world.Open();
        ReportRecorder recorder;
        auto run = operation(*analysis);
        bool result = true;
        {
          HostCallCounter counter(n, [&](const std::string&) { throw HostError(kInjected, "Injected", description); },
                                  IsHostCall);
          EXPECT_NO_THROW(result = run());
          failedClass = counter.Hit();
          if (n == 0) total = counter.Calls();
        }
        if (n == 0) {
          EXPECT_GT(total, 0);
          EXPECT_TRUE(result) << what << " fails without an injected failure: "
                              << (recorder.Reports().empty() ? "" : recorder.Reports()[0].location + " " +
                                                                        recorder.Reports()[0].description);
        }
        const auto report = std::find_if(recorder.Reports().begin(), recorder.Reports().end(), [&](const Report& r) {
          return r.number == kInjected && Has(r.description, description);
        });
        // A dialog's button tells its failure in a message box instead, or
        // leaves it to the presenter as an untrapped error of the click.
        bool shown = false;
        if (auto scripted = std::dynamic_pointer_cast<ScriptedPresenter>(GetPresenter())) {
          for (const auto& message : scripted->Messages()) shown = shown || Has(message.Text, description);
          for (const std::string& error : scripted->Errors()) shown = shown || Has(error, description);
        }
        if (report != recorder.Reports().end()) {
          // Reported where it happened: the procedure, then the module path.
          const std::string& at = report->location;
          EXPECT_TRUE(std::any_of(modulePaths.begin(), modulePaths.end(), [&](const std::string& path) {
            return at.size() > path.size() && at.compare(at.size() - path.size() - 1, path.size() + 1, " " + path) == 0;
          })) << at;
          if (at == location + " " + modulePaths.front()) { EXPECT_FALSE(result) << at; }
        } else if (!shown) {
          // Only a failure the component ignores by design (texts, layout)
          // may go unreported, and then the operation still succeeds.
          EXPECT_TRUE(result) << "the failure of " << failedClass << " was neither reported nor ignored";
        }
        EXPECT_NO_THROW(SaveAnalysis(*analysis));
      }
      // The analysis still opens, lists and takes a new study area.
      AnalysisPtr again;
      EXPECT_NO_THROW(again = world.Open());
      if (!again) break;
      EXPECT_NO_THROW(again->dataManager->GetStudyAreaCatalog()->Names());
      UseScript("[" + NameTurn("After") + "]");
      EXPECT_TRUE(RunHostTask(*again, kCurExtentTaskProgId).Stored()) << "after " << failedClass << " failed";
      if (HasFailure()) break;
    }
    return total;
  }

  TestWorld world;
  std::string pristine;
};

TEST_F(FailureInjectionTest, EveryHostCallOfCreateOpenDeleteAndRenameFailsCleanly) {
  const std::string store = "TovSSA\\TovSSAUtils";
  const long created = FailEachCall("CreateStudyArea", "CreateStudyArea", {store}, [](Analysis& a) {
    return [&a, polygon = GeometryPtr(Rectangle(-74.5, 40.3, -74.2, 40.6, Geographic(4269)))]() mutable {
      DataManagerPtr dataManager = a.dataManager;
      HostApplicationPtr application = a.application;
      std::string name = "Made", features;
      HostDatasetPtr dataSet = a.dataManager->DataSetByName("Test");
      TaskDescriptorPtr task = dataSet->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.CurrentExtent");
      return CreateStudyArea(polygon, dataManager, application, name, dataSet, task, features);
    };
  });

  const long opened =
      FailEachCall("OpenStudyArea", "OpenStudyArea", {TovOpenExistingSAFunc::kModulePath, store}, [](Analysis& a) {
        UseScript("[]");
        auto function = std::make_shared<TovOpenExistingSAFunc>();
        SetParams(*function, {{"Application", Variant(a.application)},
                              {"DataManager", Variant(a.dataManager)},
                              {"StudyAreaName", Variant("Before")}});
        return [function] { return function->OpenStudyArea(); };
      });

  const long deleted = FailEachCall(
      "DeleteStudyArea", "DeleteStudyArea", {TovDeleteExistingSAFunc::kModulePath, store}, [](Analysis& a) {
        UseScript(R"([{"form": "DeleteConfirmSADialog", "actions": [{"click": "YesButton"}]}])");
        auto function = std::make_shared<TovDeleteExistingSAFunc>();
        auto names = std::make_shared<Collection>();
        names->Add(Variant("Before"));
        SetParams(*function, {{"Application", Variant(a.application)},
                              {"DataManager", Variant(a.dataManager)},
                              {"StudyAreaNames", Variant(names)}});
        return [function, &a] {
          return function->DeleteStudyArea() && !a.dataManager->GetStudyAreaCatalog()->Exists("Before");
        };
      });
  const long renamed = FailEachCall("Rename", "RenameButton", {"ManageSADialog", store}, [](Analysis& a) {
    UseScript(R"([{"form": "ManageSADialog", "actions": [{"click": "RenameButton"}, {"click": "CloseButton"}]},
                  {"form": "SAEditNameDialog", "actions": [{"set": "ToText", "text": "Renamed"}, {"click": "OKButton"}]}])");
    auto dialog = std::make_shared<ManageSADialog>();
    dialog->m_pDataManager = a.dataManager;
    dialog->m_pApplication = a.application;
    // Filled by whoever shows it (the chooser), as a user meets it.
    dialog->InitializeDialog("Before");
    return [dialog, &a] {
      dialog->ShowModal();
      StudyAreaCatalogPtr catalog = a.dataManager->GetStudyAreaCatalog();
      return catalog->Exists("Renamed") && !catalog->Exists("Before");
    };
  });
  std::cout << "[ host calls ] CreateStudyArea " << created << ", OpenStudyArea " << opened << ", DeleteStudyArea "
            << deleted << ", Rename " << renamed << ": each failed in turn\n";
}

} // namespace
} // namespace tov::test
