#include "GridDemoForm.h"

#include <string>

#include "platform/app/FormLanguage.h"

namespace platform {

namespace {

constexpr int kHosts = 1000;

struct Texts {
  const char* caption;
  const char* headers[4];
  const char* states[2];
  const char* status;  // followed by the row and the column's header
};

const Texts& LanguageTexts() {
  static const Texts german{"Tabelle", {"Host", "Adresse", "Zustand", "Bemerkung"}, {"erreichbar", "getrennt"}, "Zeile"};
  static const Texts english{"Grid", {"Host", "Address", "State", "Comment"}, {"reachable", "disconnected"}, "Row"};
  return ResourceLanguage() == "DE" ? german : english;
}

}  // namespace

TGridDemoForm::TGridDemoForm(TComponent* AOwner) : TForm(AOwner) {
  const Texts& texts = LanguageTexts();
  SetCaption(texts.caption);
  SetClientWidth(520);
  SetClientHeight(360);

  status_ = new TPanel(this);
  status_->SetParent(this);
  status_->SetAlign(TAlign::alBottom);
  status_->SetHeight(24);
  status_->SetBevelOuter(TBevelCut::bvNone);
  status_->SetAlignment(TAlignment::taLeftJustify);

  grid_ = new TStringGrid(this);
  grid_->SetParent(this);
  grid_->SetAlign(TAlign::alClient);
  grid_->SetColCount(5);
  grid_->SetRowCount(kHosts + 1);
  grid_->SetDefaultRowHeight(20);
  grid_->SetColWidths(0, 44);
  grid_->SetColWidths(1, 110);
  grid_->SetColWidths(2, 100);
  grid_->SetColWidths(3, 90);
  grid_->SetColWidths(4, 150);
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing + TGridOption::goTabs + TGridOption::goColSizing);
  for (int col = 1; col < 5; ++col) grid_->SetCells(col, 0, texts.headers[col - 1]);
  for (int host = 1; host <= kHosts; ++host) {
    grid_->SetCells(0, host, std::to_string(host));
    grid_->SetCells(1, host, "host" + std::to_string(host));
    grid_->SetCells(2, host, "10.0." + std::to_string(host / 256) + "." + std::to_string(host % 256));
    grid_->SetCells(3, host, texts.states[host % 7 == 0 ? 1 : 0]);
  }
  grid_->OnSelectCell = [this](TObject*, int col, int row, bool&) { ShowCell(col, row); };
  ShowCell(grid_->Col(), grid_->Row());
}

void TGridDemoForm::ShowCell(int col, int row) {
  status_->SetCaption(std::string(" ") + LanguageTexts().status + " " + std::to_string(row) + ", " +
                      grid_->Cells(col, 0));
}

}  // namespace platform
