#include "pages/WizardPage.h"

#include "pages/modi18N.h"

namespace tov {

WizardPage::WizardPage(std::string name, long layoutBase, std::vector<std::string> layoutOrder)
    : Form(std::move(name)), m_layoutBase(layoutBase), m_layoutOrder(std::move(layoutOrder)) {
  On("NextButton", EventKind::Click, [this](EventArgs&) { NextButton_Click(); });
  On("BackButton", EventKind::Click, [this](EventArgs&) { BackButton_Click(); });
  On("CancelButton", EventKind::Click, [this](EventArgs&) { CancelButton_Click(); });
  On("HelpButton", EventKind::Click, [this](EventArgs&) { HelpButton_Click(); });
}

void WizardPage::Form_Load() {
  ApplyLocaleFonts(*this);
  ApplyResourceTexts(*this);
  ApplyLayout();
}

void WizardPage::ApplyLayout() {
  if (m_layoutBase == 0) return;
  std::vector<std::string> order = m_layoutOrder;
  if (order.empty())
    for (const ControlPtr& c : Controls()) order.push_back(c->Name());
  ApplyPageLayout(*this, m_layoutBase, order);
}

void WizardPage::NextButton_Click() {
  if (!CheckNext()) return;
  m_Result = kPageNext;
  Hide();
}

void WizardPage::BackButton_Click() {
  m_Result = kPageBack;
  Hide();
}

void WizardPage::CancelButton_Click() {
  m_Result = kPageCancel;
  Hide();
}

void WizardPage::HelpButton_Click() { ShowHelpTopic(kHelpFile, kHelpTopicCreateStudyArea, hWnd()); }

} // namespace tov
