#include "methods/maplist/SelectFromListDialog.h"

#include "platform/forms/ListControl.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <utility>
#include <unordered_map>
#include <unordered_set>

namespace tov {

namespace {

constexpr char kSelectedItemsKey[] = "SelectedItems";
constexpr char kFilterStringKey[] = "FilterString";

constexpr char kSearchTextBox[] = "SearchTextBox";
constexpr char kFromList[] = "FromList";
constexpr char kToList[] = "ToList";
constexpr char kAddButton[] = "AddButton";
constexpr char kAddAllButton[] = "AddAllButton";
constexpr char kRemoveButton[] = "RemoveButton";
constexpr char kRemoveAllButton[] = "RemoveAllButton";
constexpr char kToMapButton[] = "ToMapButton";
constexpr char kLabel[] = "Label";

// Both lists let the user pick several entries, with Shift and Ctrl.
constexpr int kExtendedSelection = 2;

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

SelectFromListDialog::SelectFromListDialog()
    : WizardPage("SelectFromListDialog", 700,
                 {kSearchTextBox, "Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", kToMapButton,
                  kRemoveAllButton, kRemoveButton, kAddAllButton, kAddButton, kToList, kFromList, kLabel}),
      m_pRegionsColl(std::make_shared<Collection>()) {
  // Design-time texts are resource ids, replaced when the page loads. The
  // form order is the keyboard's: search, pick, move, go on.
  SetCaption("226");
  Add(ControlKind::Label, kLabel)->SetCaption("234");
  Add(ControlKind::TextBox, kSearchTextBox)->SetToolTipText("227");
  AddListBox(kFromList, kExtendedSelection);
  Add(ControlKind::CommandButton, kAddButton)->SetCaption("228");
  Add(ControlKind::CommandButton, kAddAllButton)->SetCaption("229");
  Add(ControlKind::CommandButton, kRemoveButton)->SetCaption("230");
  Add(ControlKind::CommandButton, kRemoveAllButton)->SetCaption("231");
  AddListBox(kToList, kExtendedSelection);
  // The map page is not offered yet: the list is the only way to pick.
  Add(ControlKind::CommandButton, kToMapButton)->SetCaption("232");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");

  On(kAddButton, EventKind::Click, [this](EventArgs&) { AddButton_Click(); });
  On(kAddAllButton, EventKind::Click, [this](EventArgs&) { AddAllButton_Click(); });
  On(kRemoveButton, EventKind::Click, [this](EventArgs&) { RemoveButton_Click(); });
  On(kRemoveAllButton, EventKind::Click, [this](EventArgs&) { RemoveAllButton_Click(); });
  On(kToMapButton, EventKind::Click, [this](EventArgs&) { ToMapButton_Click(); });
  On(kFromList, EventKind::DblClick, [this](EventArgs&) { FromList_DblClick(); });
  On(kToList, EventKind::DblClick, [this](EventArgs&) { ToList_DblClick(); });
  On(kFromList, EventKind::MouseUp, [this](EventArgs&) { FromList_MouseUp(); });
  On(kToList, EventKind::MouseUp, [this](EventArgs&) { ToList_MouseUp(); });
  On(kAddButton, EventKind::MouseUp, [this](EventArgs&) { TakeFocusWhenEnabled(kAddButton); });
  On(kRemoveButton, EventKind::MouseUp, [this](EventArgs&) { TakeFocusWhenEnabled(kRemoveButton); });
  On(kSearchTextBox, EventKind::Change, [this](EventArgs&) { SearchTextBox_Change(); });
  On(kSearchTextBox, EventKind::KeyUp, [this](EventArgs&) { SearchTextBox_KeyUp(); });
}

std::shared_ptr<ListControl> SelectFromListDialog::List(const char* name) { return CtlAs<ListControl>(name); }

void SelectFromListDialog::SetLabelCaption(const std::string& caption) { Ctl(kLabel)->SetCaption(caption); }

void SelectFromListDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  m_restore = false;
  if (!pPropertySet || !pPropertySet->HasProperty(kSelectedItemsKey)) return;
  const Variant saved = pPropertySet->GetProperty(kSelectedItemsKey);
  CollectionPtr names = saved.IsObject() ? saved.ToObjectAs<Collection>() : nullptr;
  if (!names) return;
  m_pSelectedItems = names;
  m_restore = true;
  Ctl(kSearchTextBox)
      ->SetText(pPropertySet->HasProperty(kFilterStringKey) ? pPropertySet->GetProperty(kFilterStringKey).ToString()
                                                            : std::string());
}

void SelectFromListDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  auto to = List(kToList);
  auto chosen = std::make_shared<Collection>();
  for (long i = 0; i < to->ListCount(); ++i) chosen->Add(to->List(i));
  m_pSelectedItems = chosen;
  pPropertySet->SetProperty(kSelectedItemsKey, Variant(chosen));
  pPropertySet->SetProperty(kFilterStringKey, Ctl(kSearchTextBox)->Text());
}

void SelectFromListDialog::InitializeDialog() {
  if (!m_restore) return;
  // A saved name takes the region it equals without regard to case; each
  // region once. A name no longer among the regions is dropped.
  std::unordered_map<std::string, size_t> savedByFold;
  std::vector<std::string> saved;
  if (m_pSelectedItems)
    for (const Variant& item : *m_pSelectedItems) {
      saved.push_back(item.ToString());
      savedByFold.emplace(LowerCase(saved.back()), saved.size() - 1);
    }
  std::vector<bool> found(saved.size(), false);
  auto from = List(kFromList);
  auto to = List(kToList);
  from->Clear();
  auto remaining = std::make_shared<Collection>();
  for (const Variant& item : *m_pRegionsColl) {
    const std::string name = item.ToString();
    auto hit = savedByFold.find(LowerCase(name));
    if (hit != savedByFold.end() && !found[hit->second]) {
      found[hit->second] = true;
      continue;
    }
    from->AddItem(name);
    remaining->Add(name, name);
  }
  for (size_t i = 0; i < saved.size(); ++i)
    if (found[i]) to->AddItem(saved[i]);
  m_pRegionsColl = remaining;
}

void SelectFromListDialog::ResetParams() {
  m_Result = kPageCancel;
  FilterFromList(List(kFromList)->ListIndex());
  m_bChangeViews = false;
}

std::string SelectFromListDialog::SearchText() { return TrimBlanks(UpperCase(Ctl(kSearchTextBox)->Text())); }

bool SelectFromListDialog::PassesSearch(const std::string& name, const std::string& search) const {
  return search.empty() || UpperCase(name).find(search) != std::string::npos;
}

void SelectFromListDialog::SelectAt(ListControl& list, long index) {
  const long count = list.ListCount();
  if (count == 0) return;
  list.SetSelected(std::clamp(index, 0L, count - 1), true);
}

void SelectFromListDialog::FilterFromList(long selIndex, const Collection* names) {
  auto from = List(kFromList);
  const Collection* source = names;
  if (!names) {
    source = m_pRegionsColl.get();
    from->Clear();
  } else if (names->Count() == 0) {
    return;
  }
  const std::string search = SearchText();
  if (source)
    for (const Variant& item : *source) {
      const std::string name = item.ToString();
      if (PassesSearch(name, search)) from->AddItem(name);
    }
  if (from->ListCount() > 0 && from->ListIndex() >= 0) SelectAt(*from, selIndex);
  UpdateButtons();
}

void SelectFromListDialog::UpdateButtons(int which) {
  auto from = List(kFromList);
  auto to = List(kToList);
  ControlPtr add = Ctl(kAddButton), remove = Ctl(kRemoveButton);
  Ctl(kRemoveAllButton)->SetEnabled(to->ListCount() > 0);
  Ctl(kAddAllButton)->SetEnabled(from->ListCount() > 0);
  // Add and Remove follow the current entry of their own list only.
  remove->SetEnabled(false);
  add->SetEnabled(false);
  if (which != 1) {
    if (to->ListCount() > 0) {
      const long current = to->ListIndex();
      remove->SetEnabled(current >= 0 && to->Selected(current));
    }
    Ctl("NextButton")->SetEnabled(to->ListCount() > 0);
  }
  if (which != 2) {
    const long current = from->ListIndex();
    if (from->ListCount() > 0 && current >= 0) add->SetEnabled(from->Selected(current));
  }
}

std::vector<std::string> SelectFromListDialog::TakeSelected(ListControl& list, long& scanEnd) {
  std::vector<std::string> taken;
  long left = list.SelCount();
  long i = 0;
  // The scan stays on an index whose entry it removed.
  while (left > 0 && i < list.ListCount()) {
    if (list.Selected(i)) {
      taken.push_back(list.List(i));
      list.RemoveItem(i);
      --left;
    } else {
      ++i;
    }
  }
  scanEnd = i;
  return taken;
}

void SelectFromListDialog::RemoveFromRegions(const std::vector<std::string>& names) {
  if (names.empty()) return;
  if (names.size() == 1) {
    m_pRegionsColl->Remove(names.front());
    return;
  }
  // Many at once: one pass instead of one reindexing per name.
  std::unordered_set<std::string> gone;
  for (const std::string& name : names) gone.insert(LowerCase(name));
  auto remaining = std::make_shared<Collection>();
  for (const Variant& item : *m_pRegionsColl) {
    const std::string name = item.ToString();
    if (!gone.count(LowerCase(name))) remaining->Add(name, name);
  }
  m_pRegionsColl = remaining;
}

void SelectFromListDialog::AddButton_Click() {
  auto from = List(kFromList);
  auto to = List(kToList);
  for (long i = 0; i < from->ListCount(); ++i)
    if (from->Selected(i)) to->AddItem(from->List(i));
  long scanEnd = 0;
  RemoveFromRegions(TakeSelected(*from, scanEnd));
  if (from->ListCount() > 0 && from->ListIndex() >= 0) SelectAt(*from, scanEnd);
  UpdateButtons();
}

void SelectFromListDialog::AddAllButton_Click() {
  auto from = List(kFromList);
  auto to = List(kToList);
  std::vector<std::string> shown;
  for (long i = 0; i < from->ListCount(); ++i) {
    shown.push_back(from->List(i));
    to->AddItem(shown.back());
  }
  RemoveFromRegions(shown);
  from->Clear();
  SelectAt(*to, 0);
  UpdateButtons();
}

void SelectFromListDialog::RemoveButton_Click() {
  auto to = List(kToList);
  auto from = List(kFromList);
  long scanEnd = 0;
  const std::vector<std::string> returned = TakeSelected(*to, scanEnd);
  Collection back;
  for (const std::string& name : returned) {
    m_pRegionsColl->Add(name, name);
    back.Add(name);
  }
  FilterFromList(from->ListIndex(), &back);
  if (to->ListCount() > 0) SelectAt(*to, scanEnd);
  UpdateButtons();
}

void SelectFromListDialog::RemoveAllButton_Click() {
  auto to = List(kToList);
  for (long i = 0; i < to->ListCount(); ++i) m_pRegionsColl->Add(to->List(i), to->List(i));
  to->Clear();
  FilterFromList(List(kFromList)->ListIndex());
}

void SelectFromListDialog::ToMapButton_Click() {
  m_Result = kPageCancel;
  m_bChangeViews = true;
  Hide();
}

void SelectFromListDialog::FromList_DblClick() {
  auto from = List(kFromList);
  const long current = from->ListIndex();
  if (current < 0) return;
  const std::string name = from->List(current);
  List(kToList)->AddItem(name);
  m_pRegionsColl->Remove(name);
  from->RemoveItem(current);
  if (from->ListCount() > 0) SelectAt(*from, current);
  UpdateButtons();
}

void SelectFromListDialog::ToList_DblClick() {
  auto to = List(kToList);
  const long current = to->ListIndex();
  if (current < 0) return;
  const std::string name = to->List(current);
  m_pRegionsColl->Add(name, name);
  if (PassesSearch(name, SearchText())) List(kFromList)->AddItem(name);
  to->RemoveItem(current);
  if (to->ListCount() > 0) SelectAt(*to, current);
  UpdateButtons();
}

void SelectFromListDialog::FromList_MouseUp() {
  // A selection lives in one list at a time.
  auto to = List(kToList);
  if (to->ListCount() > 0 && to->ListIndex() >= 0) to->SetSelected(to->ListIndex(), false);
  UpdateButtons(1);
}

void SelectFromListDialog::ToList_MouseUp() {
  auto from = List(kFromList);
  if (from->ListCount() > 0 && from->ListIndex() >= 0) from->SetSelected(from->ListIndex(), false);
  UpdateButtons(2);
}

void SelectFromListDialog::TakeFocusWhenEnabled(const char* button) {
  ControlPtr c = Ctl(button);
  if (c->Enabled()) c->SetFocus();
}

void SelectFromListDialog::SearchTextBox_Change() {
  // A text pasted, cut or undone with the mouse narrows the list as typing
  // does. Before the page is shown the text is only being restored.
  if (!Visible()) return;
  FilterFromList(List(kFromList)->ListIndex());
  m_filteredOnChange = true;
}

void SelectFromListDialog::SearchTextBox_KeyUp() {
  // A key that changed the text was filtered for already.
  if (std::exchange(m_filteredOnChange, false)) return;
  FilterFromList(List(kFromList)->ListIndex());
}

} // namespace tov
