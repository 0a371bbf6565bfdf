#include "ui/catalogue/import_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "catalogue/star_file.h"
#include "common/number_text.h"
#include "importer/vsd_output.h"
#include "sky/elements_settings.h"
#include "ui/catalogue/import_preview_model.h"

namespace tenmirel::ui {
namespace {

constexpr importer::CatalogueFormat kFormats[] = {
    importer::CatalogueFormat::gcvs51, importer::CatalogueFormat::gcvsIii, importer::CatalogueFormat::vsxCsv,
    importer::CatalogueFormat::vsxDat, importer::CatalogueFormat::vsxJson, importer::CatalogueFormat::delimited};

QLineEdit* field(QWidget* parent, const char* name, const char* placeholder) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromUtf8(name));
  edit->setPlaceholderText(QString::fromUtf8(placeholder));
  return edit;
}

}  // namespace

ImportDialog::ImportDialog(CatalogueWindowPorts ports, std::function<void(const std::string&)> loadFile,
                           RememberTimeSystem rememberTimeSystem, QWidget* parent)
    : QDialog(parent),
      ports_(std::move(ports)),
      loadFile_(std::move(loadFile)),
      rememberTimeSystem_(
          rememberTimeSystem
              ? std::move(rememberTimeSystem)
              : [](const std::filesystem::path& file,
                   sky::ElementsTime system) { return sky::ElementsSettings().setTimeSystem(file, system); }),
      model_(new ImportPreviewModel(this)) {
  setObjectName(QStringLiteral("ImportDialog"));
  setWindowTitle(QStringLiteral("カタログの取り込み"));
  auto* layout = new QVBoxLayout(this);

  auto* fileRow = new QHBoxLayout;
  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("importPath"));
  path_->setReadOnly(true);
  auto* browse = new QPushButton(QStringLiteral("参照…"), this);
  browse->setObjectName(QStringLiteral("importBrowse"));
  format_ = new QComboBox(this);
  format_->setObjectName(QStringLiteral("importFormat"));
  format_->addItem(QStringLiteral("形式を自動判定"));
  for (const auto format : kFormats) format_->addItem(QString::fromUtf8(importer::formatTitle(format)));
  fileRow->addWidget(new QLabel(QStringLiteral("カタログ:"), this));
  fileRow->addWidget(path_, 1);
  fileRow->addWidget(browse);
  fileRow->addWidget(format_);
  layout->addLayout(fileRow);
  detected_ = new QLabel(this);
  detected_->setObjectName(QStringLiteral("importDetected"));
  layout->addWidget(detected_);

  auto* filters = new QFormLayout;
  types_ = field(this, "importTypes", "EA,EB,EW,RR*");
  brighter_ = field(this, "importBrighter", "等（極大がこれより明るい）");
  decAbove_ = field(this, "importDecAbove", "度（赤緯がこれより北）");
  periodBelow_ = field(this, "importPeriodBelow", "日（周期がこれより短い）");
  names_ = field(this, "importNames", "星名のパターン（* と ?、コンマ区切り）");
  columns_ = field(this, "importColumns", "表の列名: name=…,ra=…,dec=…,epoch=…,period=…");
  filters->addRow(QStringLiteral("型"), types_);
  filters->addRow(QStringLiteral("明るさ"), brighter_);
  filters->addRow(QStringLiteral("赤緯"), decAbove_);
  filters->addRow(QStringLiteral("周期"), periodBelow_);
  filters->addRow(QStringLiteral("星名"), names_);
  filters->addRow(QStringLiteral("列名"), columns_);
  layout->addLayout(filters);

  auto* show = new QPushButton(QStringLiteral("表示"), this);
  show->setObjectName(QStringLiteral("importShow"));
  layout->addWidget(show, 0, Qt::AlignLeft);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("importTable"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(table_, 1);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("importSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);

  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton(QStringLiteral("保存…"), this);
  save->setObjectName(QStringLiteral("importSave"));
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("importClose"));
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  resize(900, 600);

  connect(browse, &QPushButton::clicked, this, [this] {
    if (const auto chosen = ports_.chooseCatalogueToImport()) preview(*chosen);
  });
  connect(show, &QPushButton::clicked, this, [this] {
    if (!file_.empty()) preview(file_);
  });
  connect(save, &QPushButton::clicked, this, [this] { this->save(); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

std::optional<importer::ImportSettings> ImportDialog::settingsFromFields() {
  importer::ImportSettings settings;
  if (format_->currentIndex() > 0) settings.read.format = kFormats[format_->currentIndex() - 1];
  settings.filter.types = importer::patternList(types_->text().toStdString());
  settings.filter.names = importer::patternList(names_->text().toStdString());
  struct NumberField {
    QLineEdit* edit;
    const char* what;
    std::optional<double>* target;
  };
  for (const NumberField& number : {NumberField{brighter_, "明るさ", &settings.filter.brighterThan},
                                    NumberField{decAbove_, "赤緯", &settings.filter.decAbove},
                                    NumberField{periodBelow_, "周期", &settings.filter.periodBelow}}) {
    const std::string text = number.edit->text().trimmed().toStdString();
    if (text.empty()) continue;
    const std::optional<double> value = parseStrict(text);
    if (!value || !std::isfinite(*value)) {
      ports_.tell(std::string(number.what) + "の「" + text + "」は数で書いてください。");
      return std::nullopt;
    }
    *number.target = value;
  }
  const std::string columns = columns_->text().trimmed().toStdString();
  if (!columns.empty()) {
    const auto named = importer::parseColumnNames(columns);
    if (!named) {
      ports_.tell(named.message() + "。");
      return std::nullopt;
    }
    settings.read.columns = *named;
  }
  return settings;
}

bool ImportDialog::preview(const std::string& file) {
  const auto settings = settingsFromFields();
  if (!settings) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    ports_.tell("「" + file + "」を開けません（ファイルがないか、読む権限がありません）。");
    return false;
  }
  file_ = file;
  path_->setText(QFile::decodeName(file.c_str()));
  model_->clear();
  const auto report =
      importer::importCatalogue(in, *settings, [this](const importer::ImportedRow& row) { model_->add(row); });
  if (!report) {
    model_->clear();
    detected_->clear();
    summary_->clear();
    ports_.tell("「" + file + "」を取り込めません。" + report.message());
    return false;
  }
  model_->finish();
  report_ = *report;
  detected_->setText(QStringLiteral("形式: ") + QString::fromUtf8(importer::formatTitle(report_.format)) +
                     QStringLiteral("　元期の時刻系: ") +
                     QString::fromUtf8(sky::elementsTimeName(importer::defaultElementsTime(report_.format))));
  showSummary();
  return true;
}

void ImportDialog::showSummary() {
  QString text = QStringLiteral("読んだ星 %1、取り込む星 %2、予報できない星 %3、絞り込みで除外 %4")
                     .arg(report_.read)
                     .arg(report_.imported)
                     .arg(report_.skippedTotal())
                     .arg(report_.filteredTotal());
  if (model_->cut()) text += QStringLiteral("（表には最初の %1 星）").arg(ImportPreviewModel::kMaxRows);
  if (report_.imported > static_cast<std::uint64_t>(kMaxStarRecords)) {
    text += QStringLiteral("。ウィンドウの星の表に出るのは最初の %1 星です").arg(kMaxStarRecords);
  }
  summary_->setText(text);
}

bool ImportDialog::save() {
  if (file_.empty()) {
    ports_.tell("先に取り込むカタログを選んでください。");
    return false;
  }
  const auto settings = settingsFromFields();
  if (!settings) return false;
  const std::string suggested = std::filesystem::path(file_).stem().string() + ".vsd";
  const auto target = ports_.chooseFileToWrite(suggested);
  if (!target) return false;
  auto replace = importer::Replace::never;
  if (importer::pathTaken(*target)) {
    if (!ports_.confirm("「" + *target + "」はもうあります。置き換えますか？")) return false;
    replace = importer::Replace::plainly;
  }
  std::ifstream in(file_, std::ios::binary);
  auto output = importer::VsdOutput::open(*target, false, replace);
  if (!output) {
    ports_.tell(output.message());
    return false;
  }
  Refusal failure;
  const auto report = importer::importCatalogue(in, *settings, [&](const importer::ImportedRow& row) {
    if (row.record && !failure) failure = (*output)->add(*row.record);
  });
  if (!report || failure || report->imported == 0) {
    ports_.tell(!report   ? report.message() + "何も書き出していません。"
                : failure ? *failure + " 何も書き出していません。"
                          : std::string("予報できる星が一つもないので、ファイルは書き出していません。"));
    return false;
  }
  const auto written = (*output)->commit();
  if (!written) {
    ports_.tell(written.message());
    return false;
  }
  if (Refusal refusal = rememberTimeSystem_(*target, importer::defaultElementsTime(report->format))) {
    ports_.tell(*refusal);
  }
  if (ports_.confirm("「" + *target + "」に " + std::to_string(report->imported) +
                     "星を書き出しました。読み込みますか？")) {
    loadFile_(*target);
  }
  return true;
}

}  // namespace tenmirel::ui
