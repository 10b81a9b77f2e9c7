#include "store/Settings.h"

#include "PageFakes.h"

namespace tov {
namespace {

using namespace testing_pages;

class Dialog : public Form {
public:
  Dialog() : Form("Dialog") {
    SetWidth(6000);
    SetHeight(4000);
  }
};

class SettingsTest : public ::testing::Test {
protected:
  FakePages fakes;
  std::shared_ptr<Dialog> form = std::make_shared<Dialog>();
  std::shared_ptr<FakeApplication> app = std::make_shared<FakeApplication>();
  std::shared_ptr<FakePropertySet> set = std::make_shared<FakePropertySet>();
  void Saved(float left, float top, float width = 6000, float height = 4000) {
    set->values = {{kFormLeft, left}, {kFormTop, top}, {kFormWidth, width}, {kFormHeight, height}};
  }
  // Where the form is, and a place to compare it with.
  std::pair<float, float> At() const { return {form->Left(), form->Top()}; }
  static std::pair<float, float> Place(float left, float top) { return {left, top}; }
};

TEST_F(SettingsTest, FirstRunCentresOverTheHostWindow) {
  RestoreFormPosition(form, app, set, true);
  // Host window: 1280 x 800 pixels centred on 1920 x 1080, 15 twips a pixel.
  EXPECT_EQ(At(), Place(320 * 15 + (1280 * 15 - 6000) / 2, 140 * 15 + (800 * 15 - 4000) / 2));
  // Without a window the screen is the rectangle.
  app->window = 999;
  RestoreFormPosition(form, app, nullptr, false);
  EXPECT_EQ(At(), Place((1920 * 15 - 6000) / 2, (1080 * 15 - 4000) / 2));
}

TEST_F(SettingsTest, SavedPositionIsRestoredKeptOnTheScreenOrCentred) {
  // Inside the screen, beyond its bottom right, beyond its top left.
  const std::pair<std::pair<float, float>, std::pair<float, float>> cases[] = {
      {{1000, 2000}, {1000, 2000}}, {{30000, 20000}, {1920 * 15 - 6000, 1080 * 15 - 4000}}, {{-500, -1}, {0, 0}}};
  for (const auto& [saved, restored] : cases) {
    Saved(saved.first, saved.second);
    RestoreFormPosition(form, app, set, false);
    EXPECT_EQ(At(), restored);
  }
  // With the centre flag the form goes in the middle of the saved rectangle.
  Saved(1000, 1000, 9001, 3000);
  RestoreFormPosition(form, app, set, true);
  EXPECT_EQ(At(), Place(1000 + 1500, 1000 - 500)); // (9001 - 6000) / 2, integer part
}

TEST_F(SettingsTest, AMaximisedFormIsNotMoved) {
  form->Move(10, 20);
  form->SetWindowState(vbws::Maximized);
  Saved(1000, 2000);
  RestoreFormPosition(form, app, set, false);
  RestoreFormPosition(form, app, nullptr, false);
  EXPECT_EQ(At(), Place(10, 20));
}

TEST_F(SettingsTest, SaveWritesTheFourKeysInOrderAndNeedsASet) {
  form->Move(100, 200);
  SaveFormPosition(form, set);
  EXPECT_EQ(set->order, (std::vector<std::string>{"FormLeft", "FormTop", "FormWidth", "FormHeight"}));
  EXPECT_EQ(set->values[kFormWidth].ToDouble(), 6000);
  SaveFormPosition(form, nullptr);
  SaveFormPosition(nullptr, set);
}

TEST_F(SettingsTest, TheExtensionIsFoundInTheApplicationByItsIdentifier) {
  EXPECT_EQ(GetTovExtension(app), nullptr);
  auto extension = std::make_shared<test::DelegatingExtension>(nullptr);
  app->extension = extension;
  EXPECT_EQ(GetTovExtension(app), extension);
  EXPECT_EQ(app->asked, "TovKernel.TovExtension");
  EXPECT_THROW(GetTovExtension(nullptr), HostError);
}

} // namespace
} // namespace tov
