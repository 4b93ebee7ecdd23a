// "JPK_V7 v.2": a fixed 953 x 718 dialog, centred; its geometry beyond the grouping and
// order of the controls is this view's own. The controls of one JPK_V7M structure only are
// hidden while a document of the other is open.
#include "gui/JpkVatDlgView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/UiPort.h"
#include "gui/MainWindowView.h"
#include "gui/QtUi.h"

namespace velkar::gui {

namespace {


QtUi* Port() { return dynamic_cast<QtUi*>(&Ui()); }

}  // namespace

JpkVatDlgView::JpkVatDlgView(TJpkVatDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  // The designed size is where the window starts; it grows where a caption needs the room
  // (the fonts differ from the designer's), never beyond what the layout asks for.
  setMinimumSize(TJpkVatDlg::kWidth, TJpkVatDlg::kHeight);
  auto* page = new QVBoxLayout(this);

  // Files and the taxpayer; the register's actions on the right.
  auto* top = new QHBoxLayout;
  auto* files = new QGridLayout;
  QPushButton* open = Button(dlg.btnOpenJPK, this, nullptr);
  open->setDefault(true);
  files->addWidget(open, 0, 0);
  files->addWidget(Button(dlg.btnSaveJPK, this, nullptr), 0, 1);
  files->addWidget(Button(dlg.btnMakeJPK, this, [](TJpkVatDlg& d) { d.btnMakeJPKClick(); }), 0, 2);
  int column = 0;
  // The structure and (JPK_V7M(3)) the rows without a KSeF element stand with the period,
  // outside the register group, which stays disabled: its red must show.
  for (TLabeledEdit* control : {&dlg.edNIP, &dlg.edGenDate, &dlg.edDateRange, &dlg.edStructure, &dlg.edKsefMissing}) {
    EditWidgets widgets = MakeLabeledEdit(*control, this);
    // A creation stamp in UTC is a character longer ("Z"): it must show whole.
    if (control == &dlg.edGenDate)
      widgets.edit->setMinimumWidth(widgets.edit->fontMetrics().horizontalAdvance("2026-12-31T23:59:59Z") + 16);
    files->addWidget(widgets.label, 1, column);
    files->addWidget(widgets.edit, 2, column++);
    edits_.emplace_back(control, widgets);
  }
  top->addLayout(files, 3);
  auto* actions = new QVBoxLayout;
  actions->addWidget(Button(dlg.btnAddParagonSale, this, [](TJpkVatDlg& d) { d.btnAddParagonSaleClick(); }));
  actions->addWidget(Button(dlg.btnRecalcDeclaration, this, nullptr));
  actions->addWidget(Button(dlg.btnClearDeclaration, this, [](TJpkVatDlg& d) { d.btnClearDeclarationClick(); }));
  top->addLayout(actions, 1);
  page->addLayout(top);
  // The handlers that report a result: the view only needs the refresh after them.
  for (auto& [control, button] : buttons_) {
    if (control == &dlg.btnOpenJPK)
      connect(button, &QPushButton::clicked, this, [this] { Act([](TJpkVatDlg& d) { d.btnOpenJPKClick(); }); });
    if (control == &dlg.btnSaveJPK)
      connect(button, &QPushButton::clicked, this, [this] { Act([](TJpkVatDlg& d) { d.btnSaveJPKClick(); }); });
    if (control == &dlg.btnRecalcDeclaration)
      connect(button, &QPushButton::clicked, this,
              [this] { Act([](TJpkVatDlg& d) { d.btnRecalcDeclarationClick(); }); });
  }

  auto* ewidencja = new QGroupBox(this);
  ewidencja->setObjectName(Q(dlg.gbEwidencja.Name));
  groups_.emplace_back(&dlg.gbEwidencja, ewidencja);
  Edits(ewidencja, {&dlg.edSaleTaxSum, &dlg.edBuyTaxSum, &dlg.edSaleLinesCount, &dlg.edBuyLinesCount}, 4);
  page->addWidget(ewidencja);

  auto* deklaracja = new QGroupBox(this);
  deklaracja->setObjectName(Q(dlg.gbDeklaracja.Name));
  groups_.emplace_back(&dlg.gbDeklaracja, deklaracja);
  auto* columns = new QHBoxLayout(deklaracja);
  auto* positions = new QGroupBox(deklaracja);
  positions->setFlat(true);
  Edits(positions,
        {&dlg.edP360, &dlg.edP37, &dlg.edP38, &dlg.edP39, &dlg.edP40Plus42, &dlg.edP48, &dlg.edP49, &dlg.edP50,
         &dlg.edP51, &dlg.edP52, &dlg.edP68, &dlg.edP69, &dlg.edORDZU},
        1);
  columns->addWidget(positions, 1);

  auto* right = new QVBoxLayout;
  auto* nadwyzka = new QGroupBox(deklaracja);
  nadwyzka->setObjectName(Q(dlg.gbNadwyzkaPodatku.Name));
  groups_.emplace_back(&dlg.gbNadwyzkaPodatku, nadwyzka);
  auto* nadwyzkaLayout = new QVBoxLayout(nadwyzka);
  auto* p53 = new QGroupBox(nadwyzka);
  p53->setFlat(true);
  Edits(p53, {&dlg.edP53}, 1);
  nadwyzkaLayout->addWidget(p53);

  auto* zwrot = new QGroupBox(nadwyzka);
  zwrot->setObjectName(Q(dlg.gbZwrot.Name));
  groups_.emplace_back(&dlg.gbZwrot, zwrot);
  auto* zwrotLayout = new QGridLayout(zwrot);
  EditWidgets p54 = MakeLabeledEdit(dlg.edP54, zwrot);
  zwrotLayout->addWidget(p54.label, 0, 0, 1, 3);
  zwrotLayout->addWidget(p54.edit, 1, 0, 1, 3);
  edits_.emplace_back(&dlg.edP54, p54);
  connect(p54.edit, &QLineEdit::textEdited, this, [this](const QString& text) {
    dlg_.edP54.Text = S(text);
    Act([](TJpkVatDlg& d) { d.edP54Change(); });
  });
  int index = 0;
  for (TRadioButton* control : dlg.ZwrotButtons()) {
    auto* radio = new QRadioButton(zwrot);
    radio->setObjectName(Q(control->Name));
    radio->setAutoExclusive(false);  // the window object holds the one choice
    zwrotLayout->addWidget(radio, 2 + index / 3, index % 3);
    ++index;
    checks_.emplace_back(control, radio);
    connect(radio, &QRadioButton::clicked, this, [this, control] {
      dlg_.rbZwrotClick(*control);
      Refresh();
    });
  }
  nadwyzkaLayout->addWidget(zwrot);

  auto* zaliczenie = new QGroupBox(nadwyzka);
  zaliczenie->setObjectName(Q(dlg.gbZaliczenieNaZobowiazania.Name));
  groups_.emplace_back(&dlg.gbZaliczenieNaZobowiazania, zaliczenie);
  auto* zaliczenieLayout = new QVBoxLayout(zaliczenie);
  auto* p59 = new QCheckBox(zaliczenie);
  p59->setObjectName(Q(dlg.cbP59.Name));
  checks_.emplace_back(&dlg.cbP59, p59);
  connect(p59, &QCheckBox::clicked, this, [this](bool checked) {
    dlg_.cbP59.Checked = checked;
    Act([](TJpkVatDlg& d) { d.cbP59Click(); });
  });
  zaliczenieLayout->addWidget(p59);
  auto* offset = new QGroupBox(zaliczenie);
  offset->setFlat(true);
  Edits(offset, {&dlg.edP60, &dlg.edP61}, 1);
  zaliczenieLayout->addWidget(offset);
  nadwyzkaLayout->addWidget(zaliczenie);
  right->addWidget(nadwyzka);
  auto* p62 = new QGroupBox(deklaracja);
  p62->setFlat(true);
  Edits(p62, {&dlg.edP62}, 1);
  right->addWidget(p62);
  right->addStretch();
  columns->addLayout(right, 1);
  page->addWidget(deklaracja, 1);

  for (auto& [control, widgets] : edits_) {
    bool amount = control != &dlg.edORDZU && control != &dlg.edP61 && control != &dlg.edNIP &&
                  control != &dlg.edGenDate && control != &dlg.edDateRange && control != &dlg.edStructure;
    if (amount) widgets.edit->setAlignment(Qt::AlignRight);
    if (control == &dlg.edP54) continue;
    TLabeledEdit* edited = control;
    connect(widgets.edit, &QLineEdit::textEdited, this, [edited](const QString& text) { edited->Text = S(text); });
  }
  if (QtUi* port = Port()) port->SetActiveView(&dlg_, [this] { Refresh(); });
  Refresh();
  resize(sizeHint().expandedTo(minimumSize()));
}

JpkVatDlgView::~JpkVatDlgView() {
  if (QtUi* port = Port()) port->SetActiveView(&dlg_, nullptr);
}

QPushButton* JpkVatDlgView::Button(TButton& control, QWidget* parent, std::function<void(TJpkVatDlg&)> click) {
  auto* button = new QPushButton(Q(control.Text), parent);
  button->setObjectName(Q(control.Name));
  button->setMinimumHeight(36);
  if (click) connect(button, &QPushButton::clicked, this, [this, click] { Act(click); });
  buttons_.emplace_back(&control, button);
  return button;
}

void JpkVatDlgView::Edits(QGroupBox* box, std::initializer_list<TLabeledEdit*> controls, int columns) {
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(3);  // wrapped captions do not touch the next row
  int index = 0;
  for (TLabeledEdit* control : controls) {
    EditWidgets widgets = MakeLabeledEdit(*control, box);
    int row = index / columns, column = index % columns;
    if (columns == 1) {
      grid->addWidget(widgets.label, row, 0);
      grid->addWidget(widgets.edit, row, 1);
      widgets.edit->setFixedWidth(control == &dlg_.edORDZU || control == &dlg_.edP61 ? 200 : 110);
    } else {
      grid->addWidget(widgets.label, 0, column);
      grid->addWidget(widgets.edit, 1, column);
    }
    edits_.emplace_back(control, widgets);
    ++index;
  }
}

void JpkVatDlgView::Act(const std::function<void(TJpkVatDlg&)>& handler) {
  dlg_.ActiveControl = nullptr;
  RunHandler([&] { handler(dlg_); });
  Refresh();
  // After a refused value the focus goes to the edit it came from.
  if (dlg_.ActiveControl)
    if (QLineEdit* edit = Edit(dlg_.ActiveControl->Name)) {
      edit->setFocus();
      edit->selectAll();
    }
  dlg_.ActiveControl = nullptr;
}

QLineEdit* JpkVatDlgView::Edit(const std::string& name) const {
  for (const auto& [control, widgets] : edits_)
    if (control->Name == name) return widgets.edit;
  return nullptr;
}

void JpkVatDlgView::Refresh() {
  setWindowTitle(Q(dlg_.Caption));
  for (auto& [control, button] : buttons_) ApplyControl(*control, button);
  // Controls of one structure only (P_360 and the KSeF count, the 60-day refund) are hidden
  // for the other.
  for (auto& [control, widgets] : edits_) {
    ApplyEdit(*control, widgets);
    widgets.label->setVisible(control->Visible);
    widgets.edit->setVisible(control->Visible);
  }
  for (auto& [control, box] : groups_) ApplyGroup(*control, box);
  for (auto& [control, button] : checks_) {
    ApplyCheck(*control, button);
    button->setVisible(control->Visible);
  }
}

void JpkVatDlgView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);  // a fixed dialog in the middle of the desktop
  RunHandler([this] { dlg_.FormShow(); });
  Refresh();
  QDialog::showEvent(event);
}

// Closing asks about unsaved changes; the window closes whatever the answer.
void JpkVatDlgView::reject() {
  RunHandler([this] { dlg_.FormCloseQuery(); });
  dlg_.ModalResultValue = mrCancel;
  QDialog::reject();
}

}  // namespace velkar::gui
