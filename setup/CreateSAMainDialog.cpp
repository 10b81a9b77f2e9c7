#include "setup/CreateSAMainDialog.h"

#include "manage/ManageSADialog.h"
#include "pages/modi18N.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/Trap.h"
#include "store/MapQueries.h"

#include <exception>
#include <optional>

namespace tov {

namespace {

constexpr char kSelectedShapesCaptionId[] = "112";
constexpr char kCreateCaptionId[] = "107";
constexpr char kOpenCaptionId[] = "113";

constexpr char kTasksList[] = "SATasksList";
constexpr char kNameCombo[] = "SANameCombo";
constexpr char kCreateOption[] = "CreateSAOption";
constexpr char kOpenOption[] = "OpenSAOption";
constexpr char kFromListOption[] = "FromListOption";
constexpr char kFromMapOption[] = "FromMapOption";
constexpr char kManageButton[] = "ManageSAButton";
// The two ways form one option group, the two ways of picking regions another.
constexpr char kWaysGroup[] = "";
constexpr char kFromFrame[] = "Frame1";

} // namespace

CreateSAMainDialog::CreateSAMainDialog() : WizardPage("CreateSAMainDialog", 0) {
  // Design-time texts are resource ids, replaced when the page loads. The
  // chooser has no layout block of its own: positions are in twips here.
  SetCaption("200");
  SetWidth(6720);
  SetHeight(5520);
  auto place = [](const ControlPtr& c, float left, float top, float width, float height) {
    c->Move(left, top, width, height);
    return c;
  };
  place(Add(ControlKind::OptionButton, kCreateOption), 240, 180, 6240, 300)->SetCaption("210");
  place(Add(ControlKind::Label, "Label1"), 480, 540, 5880, 255)->SetCaption("212");
  place(AddListBox(kTasksList), 480, 840, 5880, 1860);
  place(Add(ControlKind::Frame, kFromFrame), 480, 2760, 5880, 660);
  place(Add(ControlKind::OptionButton, kFromListOption), 600, 2850, 5640, 255)->SetCaption("213");
  place(Add(ControlKind::OptionButton, kFromMapOption), 600, 3120, 5640, 255)->SetCaption("214");
  place(Add(ControlKind::OptionButton, kOpenOption), 240, 3600, 6240, 300)->SetCaption("211");
  place(Add(ControlKind::Label, "Label2"), 480, 3990, 1800, 255)->SetCaption("216");
  place(AddComboBox(kNameCombo), 2340, 3945, 2940, 315);
  place(Add(ControlKind::CommandButton, kManageButton), 5400, 3915, 1095, 375)->SetCaption("215");
  place(Add(ControlKind::CommandButton, "HelpButton"), 120, 4560, 1095, 375)->SetCaption("204");
  place(Add(ControlKind::CommandButton, "BackButton"), 2880, 4560, 1095, 375)->SetCaption("201");
  place(Add(ControlKind::CommandButton, "NextButton"), 3990, 4560, 1095, 375)->SetCaption(kCreateCaptionId);
  place(Add(ControlKind::CommandButton, "CancelButton"), 5400, 4560, 1095, 375)->SetCaption("203");

  for (const char* name : {kCreateOption, kOpenOption}) Ctl(name)->SetContainer(kWaysGroup);
  for (const char* name : {kFromListOption, kFromMapOption}) Ctl(name)->SetContainer(kFromFrame);
  Ctl(kFromListOption)->SetValue(1);

  On(kCreateOption, EventKind::Click, [this](EventArgs&) { CreateSAOption_Click(); });
  On(kOpenOption, EventKind::Click, [this](EventArgs&) { OpenSAOption_Click(); });
  On(kNameCombo, EventKind::GotFocus, [this](EventArgs&) { SANameCombo_GotFocus(); });
  // Picking an entry gives the combo the focus first; presenters that do not
  // report focus changes still report the pick.
  On(kNameCombo, EventKind::Click, [this](EventArgs&) {
    if (!m_fillingCombo) SANameCombo_GotFocus();
  });
  On(kTasksList, EventKind::Click, [this](EventArgs&) { SATasksList_Click(); });
  On(kFromListOption, EventKind::Click, [this](EventArgs&) { m_bFromMap = false; });
  On(kFromMapOption, EventKind::Click, [this](EventArgs&) { m_bFromMap = true; });
  On(kCreateOption, EventKind::DblClick, [this](EventArgs&) {
    m_Way = kWayCreate;
    NextButton_Click();
  });
  On(kTasksList, EventKind::DblClick, [this](EventArgs&) {
    m_Way = kWayCreate;
    NextButton_Click();
  });
  On(kOpenOption, EventKind::DblClick, [this](EventArgs&) {
    m_Way = kWayOpen;
    NextButton_Click();
  });
  On("NextButton", EventKind::Click, [this](EventArgs&) { NextButton_Click(); });
  On(kManageButton, EventKind::Click, [this](EventArgs&) { ManageSAButton_Click(); });
}

std::shared_ptr<ListControl> CreateSAMainDialog::TasksList() { return CtlAs<ListControl>(kTasksList); }
std::shared_ptr<ListControl> CreateSAMainDialog::NameCombo() { return CtlAs<ListControl>(kNameCombo); }

void CreateSAMainDialog::InitializeDialog() {
  auto list = TasksList();
  list->Clear();
  m_setupTask.reset();
  HostDatasetPtr dataset = Must(m_pDataSet, "the data set");
  std::string selectedShapesCaption;
  bool captionKnown = false;
  int32_t selectedPolygons = -1; // counted when a method needs it
  for (long t = 0; t < dataset->TaskCount(); ++t) {
    TaskDescriptorPtr task = Must(dataset->Task(t), "a task descriptor");
    if (task->Name() != kSetupTaskName) continue;
    m_setupTask = task;
    for (long c = 0; c < task->ChildCount(); ++c) {
      const std::string caption = Must(task->Child(c), "a method descriptor")->Caption();
      if (!captionKnown) {
        selectedShapesCaption = GetTextResources()->FindString(kSelectedShapesCaptionId);
        captionKnown = true;
      }
      // Selected shapes are offered only while there are some.
      if (caption == selectedShapesCaption) {
        if (selectedPolygons < 0) selectedPolygons = CountSelectedPolygons(m_pApplication);
        if (selectedPolygons < 1) continue;
      }
      list->AddItem(caption);
    }
  }
  if (list->ListCount() > 0) list->SetListIndex(0);

  const bool haveNames = FillNameCombo(std::string());
  NameCombo()->SetEnabled(haveNames);
  Ctl(kManageButton)->SetEnabled(haveNames);

  Ctl(kCreateOption)->SetValue(1);
}

bool CreateSAMainDialog::FillNameCombo(const std::string& name) {
  auto combo = NameCombo();
  m_fillingCombo = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{m_fillingCombo};
  combo->Clear();
  StudyAreaCatalogPtr catalog = m_pDataManager ? m_pDataManager->GetStudyAreaCatalog() : nullptr;
  CollectionPtr names = catalog ? catalog->Names() : nullptr;
  if (!names || names->Count() == 0) return false;
  long current = -1;
  for (long i = 1; i <= names->Count(); ++i) {
    const std::string each = names->Item(i).ToString();
    combo->AddItem(each);
    if (current < 0 && each == name) current = i - 1;
  }
  combo->SetListIndex(current >= 0 ? current : 0);
  return true;
}

void CreateSAMainDialog::ResetParams() {
  m_bFromMap = Ctl(kFromListOption)->Value() == 0;
  m_Result = kPageCancel;
  if (m_Way < 0 || m_Way > 2) m_Way = kWayCreate;
  // Captured first: clearing and setting an option runs its click.
  const int32_t way = m_Way;
  Ctl(kCreateOption)->SetValue(0);
  Ctl(kOpenOption)->SetValue(0);
  if (way == kWayCreate) Ctl(kCreateOption)->SetValue(1);
  else if (way == kWayOpen) Ctl(kOpenOption)->SetValue(1);
  m_Way = way;
  Ctl("BackButton")->SetEnabled(false);
}

void CreateSAMainDialog::SetNextCaption(const char* resourceId) {
  Ctl("NextButton")->SetCaption(GetTextResources()->FindString(resourceId));
}

void CreateSAMainDialog::CreateSAOption_Click() {
  m_Way = kWayCreate;
  SetNextCaption(kCreateCaptionId);
}

void CreateSAMainDialog::OpenSAOption_Click() {
  m_Way = kWayOpen;
  SetNextCaption(kOpenCaptionId);
}

void CreateSAMainDialog::SANameCombo_GotFocus() {
  Ctl(kOpenOption)->SetValue(1);
  SetNextCaption(kOpenCaptionId);
}

TaskDescriptorPtr CreateSAMainDialog::SelectedMethod() {
  auto list = TasksList();
  if (!m_setupTask || list->ListIndex() < 0) return nullptr;
  const std::string caption = list->List(list->ListIndex());
  for (long c = 0; c < m_setupTask->ChildCount(); ++c) {
    TaskDescriptorPtr child = m_setupTask->Child(c);
    if (child && child->Caption() == caption) return child;
  }
  return nullptr;
}

void CreateSAMainDialog::SATasksList_Click() {
  Ctl(kCreateOption)->SetValue(1);
  SetNextCaption(kCreateCaptionId);
  TaskDescriptorPtr method = SelectedMethod();
  const std::optional<MethodRecord> record = method ? FindMethod(method->Name()) : std::nullopt;
  const bool picks = record && record->picksOnMapOrList;
  Ctl(kFromListOption)->SetEnabled(picks);
  Ctl(kFromMapOption)->SetEnabled(picks);
}

void CreateSAMainDialog::NextButton_Click() {
  if (m_Way == kWayCreate) m_pSSATask = SelectedMethod();
  else if (m_Way == kWayOpen) m_sSAName = NameCombo()->Text();
  m_Result = kPageNext;
  Hide();
}

void CreateSAMainDialog::ManageSAButton_Click() {
  TrapMessage([&] { ShowManageDialog(); });
}

void CreateSAMainDialog::ShowManageDialog() {
  const std::string remembered = NameCombo()->Text();
  auto manage = std::make_shared<ManageSADialog>();
  manage->m_pApplication = m_pApplication;
  manage->m_pDataManager = m_pDataManager;
  manage->InitializeDialog(remembered);
  manage->ShowModal();
  manage->Unload();

  if (FillNameCombo(remembered)) {
    Ctl(kManageButton)->SetEnabled(true);
    return;
  }
  // Every saved study area is gone: only creating is left.
  Ctl(kOpenOption)->SetValue(0);
  Ctl(kCreateOption)->SetValue(1);
  Ctl(kOpenOption)->SetEnabled(false);
  NameCombo()->SetEnabled(false);
  Ctl(kManageButton)->SetEnabled(false);
}

} // namespace tov
