#include "host/geocoder/GeocoderDialog.h"

#include "platform/forms/ListControl.h"

namespace tov {

namespace {

constexpr char kMainLabel[] = "MainLabel";
constexpr char kAddressText[] = "AddressText";
constexpr char kFindButton[] = "FindButton";
constexpr char kCandidatesList[] = "CandidatesList";
constexpr char kStatusLabel[] = "StatusLabel";
constexpr char kBackButton[] = "BackButton";
constexpr char kNextButton[] = "NextButton";
constexpr char kCancelButton[] = "CancelButton";

constexpr char kPrompt[] = "Type a ZIP code, a place such as \"Springfield, IL\" or an address, then press Find.";

// Twips, in the proportions of the wizard's other pages.
constexpr float kWidth = 7200, kHeight = 5400, kMargin = 180, kButtonWidth = 1215, kButtonHeight = 375;

void Place(const ControlPtr& c, float left, float top, float width, float height) {
  c->SetLeft(left);
  c->SetTop(top);
  c->SetWidth(width);
  c->SetHeight(height);
}

} // namespace

GeocoderDialog::GeocoderDialog(Finder finder) : Form("GeocoderDialog"), m_finder(std::move(finder)) {
  SetCaption("Find an Address");
  SetWidth(kWidth);
  SetHeight(kHeight);
  const float inner = kWidth - 3 * kMargin;
  const float buttonTop = kHeight - kButtonHeight - 600;

  Place(Add(ControlKind::Label, kMainLabel), kMargin, kMargin, inner, 480);
  Place(Add(ControlKind::TextBox, kAddressText), kMargin, 720, inner - kButtonWidth - kMargin, 315);
  auto find = Add(ControlKind::CommandButton, kFindButton);
  find->SetCaption("&Find");
  Place(find, kWidth - kButtonWidth - 2 * kMargin, 690, kButtonWidth, kButtonHeight);
  Place(AddListBox(kCandidatesList), kMargin, 1200, inner, 2160);
  Place(Add(ControlKind::Label, kStatusLabel), kMargin, 3480, inner, 600);
  auto back = Add(ControlKind::CommandButton, kBackButton);
  back->SetCaption("< &Back");
  Place(back, kWidth - 3 * kButtonWidth - 3 * kMargin, buttonTop, kButtonWidth, kButtonHeight);
  auto next = Add(ControlKind::CommandButton, kNextButton);
  next->SetCaption("&Next >");
  Place(next, kWidth - 2 * kButtonWidth - 3 * kMargin, buttonTop, kButtonWidth, kButtonHeight);
  auto cancel = Add(ControlKind::CommandButton, kCancelButton);
  cancel->SetCaption("Cancel");
  Place(cancel, kWidth - kButtonWidth - 2 * kMargin, buttonTop, kButtonWidth, kButtonHeight);

  On(kFindButton, EventKind::Click, [this](EventArgs&) { Find(); });
  On(kAddressText, EventKind::Change, [this](EventArgs&) { Clear(); });
  On(kAddressText, EventKind::KeyPress, [this](EventArgs& e) {
    if (e.KeyAscii != 13) return;
    e.KeyAscii = 0; // Enter finds; the box stays one line
    Find();
  });
  On(kCandidatesList, EventKind::Click, [this](EventArgs&) { UpdateNext(); });
  On(kCandidatesList, EventKind::DblClick, [this](EventArgs&) {
    UpdateNext();
    if (Ctl(kNextButton)->Enabled()) Close(kNext);
  });
  On(kNextButton, EventKind::Click, [this](EventArgs&) {
    if (Ctl(kNextButton)->Enabled()) Close(kNext);
  });
  On(kBackButton, EventKind::Click, [this](EventArgs&) { Close(kBack); });
  On(kCancelButton, EventKind::Click, [this](EventArgs&) { Close(kCancel); });
}

void GeocoderDialog::Prepare(const std::string& mainCaption, const std::string& address) {
  Ctl(kMainLabel)->SetCaption(mainCaption);
  Ctl(kAddressText)->SetText(address);
  Clear();
}

std::string GeocoderDialog::Address() { return Ctl(kAddressText)->Text(); }

const GeocodeCandidate* GeocoderDialog::Chosen() {
  const long index = CtlAs<ListControl>(kCandidatesList)->ListIndex();
  if (index < 0 || static_cast<size_t>(index) >= m_match.candidates.size()) return nullptr;
  return &m_match.candidates[static_cast<size_t>(index)];
}

// A page closed by its close box reports Cancel.
void GeocoderDialog::Form_Activate() {
  m_Result = kCancel;
  Ctl(kAddressText)->SetFocus();
}

void GeocoderDialog::Find() {
  m_match = m_finder(Address());
  m_searched = true;
  auto list = CtlAs<ListControl>(kCandidatesList);
  list->Clear();
  for (const GeocodeCandidate& c : m_match.candidates) list->AddItem(c.label);
  // One candidate needs no choosing.
  if (m_match.candidates.size() == 1) list->SetListIndex(0);
  std::string status = m_match.message;
  if (m_match.candidates.empty()) status += " Change the text and press Find again, or press Next to report the address as not found.";
  Ctl(kStatusLabel)->SetCaption(status);
  UpdateNext();
}

void GeocoderDialog::Clear() {
  m_match = GeocodeMatch();
  m_searched = false;
  CtlAs<ListControl>(kCandidatesList)->Clear();
  Ctl(kStatusLabel)->SetCaption(kPrompt);
  UpdateNext();
}

void GeocoderDialog::UpdateNext() {
  const bool nothingFound = m_searched && m_match.candidates.empty();
  Ctl(kNextButton)->SetEnabled(nothingFound || Chosen() != nullptr);
}

void GeocoderDialog::Close(int32_t result) {
  m_Result = result;
  Hide();
}

} // namespace tov
