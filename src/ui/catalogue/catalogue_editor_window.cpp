#include "ui/catalogue/catalogue_editor_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/catalogue/catalogue_editor_model.h"

namespace tenmirel::ui {
namespace {

// A new star's values: valid, so that it can be added, and plainly to be replaced.
StarRecord newStar(const importer::CatalogueEditor& editor) {
  const auto taken = [&](const std::string& name) {
    for (const StarRecord& star : editor.stars()) {
      if (star.starName == name) return true;
    }
    return false;
  };
  std::string name = "新しい星";
  for (int n = 2; taken(name); ++n) name = "新しい星 " + std::to_string(n);
  return {name, "2451545.0", "1.0", "0", "0.0", "True", "0", "0", ""};
}

}  // namespace

CatalogueEditorWindow::CatalogueEditorWindow(importer::CatalogueEditor editor, CatalogueWindowPorts ports,
                                             std::function<void(const std::string&)> loadFile, QWidget* parent)
    : QWidget(parent, Qt::Window), ports_(std::move(ports)), loadFile_(std::move(loadFile)) {
  setObjectName(QStringLiteral("CatalogueEditorWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  model_ = new CatalogueEditorModel(std::move(editor), ports_.tell, this);
  auto* layout = new QVBoxLayout(this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("editorTable"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(table_, 1);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(QString::fromUtf8(name));
    buttons->addWidget(b);
    return b;
  };
  QPushButton* add = button("editorAdd", "追加");
  QPushButton* remove = button("editorDelete", "削除");
  QPushButton* up = button("editorUp", "上へ");
  QPushButton* down = button("editorDown", "下へ");
  buttons->addStretch(1);
  QPushButton* save = button("editorSave", "保存");
  layout->addLayout(buttons);
  resize(900, 500);
  showTitle();

  connect(add, &QPushButton::clicked, this, [this] {
    const int row = currentRow();
    if (model_->addStar(newStar(model_->editor()), row)) table_->selectRow(row < 0 ? model_->rowCount() - 1 : row + 1);
    showTitle();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    const int row = currentRow();
    if (row >= 0 && ports_.confirm("「" + model_->editor().stars()[static_cast<std::size_t>(row)].starName +
                                   "」を削除しますか？")) {
      model_->removeStar(row);
    }
    showTitle();
  });
  connect(up, &QPushButton::clicked, this, [this] {
    const int row = currentRow();
    if (model_->moveStar(row, row - 1)) table_->selectRow(row - 1);
    showTitle();
  });
  connect(down, &QPushButton::clicked, this, [this] {
    const int row = currentRow();
    if (model_->moveStar(row, row + 1)) table_->selectRow(row + 1);
    showTitle();
  });
  connect(save, &QPushButton::clicked, this, [this] { this->save(); });
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] { showTitle(); });
}

int CatalogueEditorWindow::currentRow() const {
  const QModelIndex current = table_->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void CatalogueEditorWindow::showTitle() {
  const QString file = QFile::decodeName(model_->editor().file().filename().c_str());
  setWindowTitle(QStringLiteral("カタログの編集 - ") + file +
                 (model_->editor().modified() ? QStringLiteral(" *") : QString()));
}

bool CatalogueEditorWindow::save() {
  if (!model_->save()) return false;
  showTitle();
  loadFile_(model_->editor().file().string());
  return true;
}

void CatalogueEditorWindow::closeEvent(QCloseEvent* event) {
  if (model_->editor().modified() && !ports_.confirm("保存していない変更があります。保存せずに閉じますか？")) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace tenmirel::ui
