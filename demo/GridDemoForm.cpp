#include "GridDemoForm.h"

#include <string>

#include "platform/app/FormLanguage.h"

namespace platform {

namespace {

using velmora::VUraRazuduVova;

struct Texts {
  const char* caption;
  const char* headers[6];  // of the columns after the node column
  const char* sites[TGridDemoForm::kSites];
  const char* hosts;     // follows a site's count of hosts
  const char* states[2];
  const char* comment;
  const char* status;  // followed by the row and the column's header
};

const Texts& LanguageTexts() {
  static const Texts german{"Tabelle",
                            {"Host", "Adresse", "Überwacht", "Verfügbarkeit", "Zustand", "Bemerkung"},
                            {"Büro", "Server", "Labor", "Außenstelle"},
                            "Hosts",
                            {"erreichbar", "getrennt"},
                            "von Hand geprüft",
                            "Zeile"};
  static const Texts english{"Grid",
                             {"Host", "Address", "Watched", "Availability", "State", "Comment"},
                             {"Office", "Servers", "Lab", "Branch"},
                             "hosts",
                             {"reachable", "disconnected"},
                             "checked by hand",
                             "Row"};
  return ResourceLanguage() == "DE" ? german : english;
}

constexpr const char* kPrefixes[TGridDemoForm::kSites] = {"pc", "srv", "lab", "br"};
constexpr int kColWidths[] = {34, 90, 90, 74, 100, 96, 130};

// Three digits with leading zeros, so that the host names sort as their numbers.
std::string ThreeDigits(int value) {
  const std::string digits = std::to_string(value);
  return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

}  // namespace

TGridDemoForm::TGridDemoForm(TComponent* AOwner) : TForm(AOwner) {
  const Texts& texts = LanguageTexts();
  SetCaption(texts.caption);
  SetClientWidth(640);
  SetClientHeight(400);

  status_ = new TPanel(this);
  status_->SetParent(this);
  status_->SetAlign(TAlign::alBottom);
  status_->SetHeight(24);
  status_->SetBevelOuter(TBevelCut::bvNone);
  status_->SetAlignment(TAlignment::taLeftJustify);

  grid_ = new VUraRazuduVova(this);
  grid_->SetParent(this);
  grid_->SetAlign(TAlign::alClient);
  grid_->SetColCount(static_cast<int>(std::size(kColWidths)));
  grid_->SetRowCount(1 + kSites * (1 + kHostsPerSite));
  grid_->SetDefaultRowHeight(20);
  for (int col = 0; col < grid_->ColCount(); ++col) grid_->SetColWidths(col, kColWidths[col]);
  grid_->SetOptions(grid_->Options() + TGridOption::goEditing + TGridOption::goTabs + TGridOption::goColSizing);
  grid_->SortSettings().Show = true;
  grid_->HintShowSizing = true;
  grid_->Bands().SetActive(true);
  grid_->CellNode().SetShowTree(true);
  grid_->CellNode().Color = clGray;  // the tree lines, on the fixed column's face
  for (int col = kHostCol; col <= kCommentCol; ++col) grid_->SetCells(col, 0, texts.headers[col - kHostCol]);
  {
    const VUraRazuduVova::UpdateGuard update(*grid_);
    for (int site = 0; site < kSites; ++site) FillSite(site, 1 + site * (1 + kHostsPerSite));
  }
  // The comment is typed and the check box clicked; the other cells are only shown.
  grid_->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) {
    CanEdit = ACol == kCommentCol || ACol == kWatchedCol;
  };
  grid_->OnGetAlignment = [](TObject*, int, int ACol, TAlignment& HAlign, velmora::TVAlignment&) {
    if (ACol == kWatchedCol) HAlign = TAlignment::taCenter;
  };
  // The state sorts by what it reads, not by its colour's markup.
  grid_->OnGetFormat = [](TObject*, int ACol, velmora::TSortStyle& AStyle, std::string&, std::string&) {
    if (ACol == kStateCol) AStyle = velmora::TSortStyle::ssHTML;
  };
  grid_->OnSelectCell = [this](TObject*, int col, int row, bool&) { ShowCell(col, row); };
  ShowCell(grid_->Col(), grid_->Row());
}

// A node row naming the site and its count, then its hosts in an order that a sort changes.
void TGridDemoForm::FillSite(int site, int nodeRow) {
  const Texts& texts = LanguageTexts();
  grid_->SetCells(kHostCol, nodeRow, std::string("<b>") + texts.sites[site] + "</b>");
  grid_->SetCells(kAddressCol, nodeRow, std::to_string(kHostsPerSite) + " " + texts.hosts);
  grid_->AddNode(nodeRow, kHostsPerSite);
  for (int host = 1; host <= kHostsPerSite; ++host) {
    const int row = nodeRow + host;
    const int number = host * 37 % kHostsPerSite + 1;  // 37 is prime to the count: each number once
    const bool answers = number % 7 != 0;
    grid_->SetCells(kHostCol, row, std::string(kPrefixes[site]) + "-" + ThreeDigits(number));
    grid_->SetCells(kAddressCol, row, "10.0." + std::to_string(site + 1) + "." + std::to_string(number));
    grid_->SetCells(kWatchedCol, row, number % 5 != 0 ? grid_->CheckTrue : grid_->CheckFalse);
    grid_->AddCheckBox(kWatchedCol, row, false, true);
    grid_->SetCells(kAvailabilityCol, row, std::to_string(answers ? 100 - number % 23 : number % 40));
    grid_->AddProgressEx(kAvailabilityCol, row, clGreen, clWindow, clWhite, clWindowText);
    grid_->SetCells(kStateCol, row,
                    answers ? std::string("<font color=\"clGreen\">") + texts.states[0] + "</font>"
                            : std::string("<font color=\"clRed\"><b>") + texts.states[1] + "</b></font>");
    if (number % 9 == 0) grid_->SetCells(kCommentCol, row, texts.comment);
  }
}

void TGridDemoForm::ShowCell(int col, int row) {
  status_->SetCaption(std::string(" ") + LanguageTexts().status + " " + std::to_string(row) + ", " +
                      grid_->Cells(grid_->RealColIndex(col), 0));
}

}  // namespace platform
