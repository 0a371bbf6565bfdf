#include "ui/timing/oc_window.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <fstream>

#include "catalogue/memo_tokens.h"
#include "common/number_text.h"
#include "observations/oc_csv.h"
#include "timing/day_units.h"
#include "timing/oc_svg.h"
#include "ui/qt_ports.h"
#include "ui/timing/editor_elements_writer.h"
#include "ui/timing/minimum_window.h"
#include "ui/timing/oc_diagram_widget.h"

namespace tenmirel::ui {
namespace {

constexpr double kFullJulianDayFrom = 2'000'000;

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Two significant digits of a standard error.
QString sigmaText(double value) { return QString::number(value, 'g', 2); }

enum Column { kId, kCycle, kTime, kSystem, kOc, kSigma, kKind, kOutlier, kExcluded, kColumns };

const char* kindCaption(timing::ExtremumKind kind) {
  switch (kind) {
    case timing::ExtremumKind::secondary:
      return "副極小";
    case timing::ExtremumKind::maximum:
      return "極大";
    case timing::ExtremumKind::primary:
      break;
  }
  return "主極小";
}

}  // namespace

OcWindow::OcWindow(OcStar star, TimingWindowPorts ports, QWidget* parent)
    : QWidget(parent, Qt::Window), star_(std::move(star)), ports_(std::move(ports)) {
  if (!ports_.messages) {
    ownMessages_ = std::make_unique<QtMessageSink>(this);
    ports_.messages = ownMessages_.get();
  }
  if (!ports_.elementsWriter) {
    ownWriter_ = std::make_unique<EditorElementsWriter>();
    ports_.elementsWriter = ownWriter_.get();
  }
  setObjectName(QStringLiteral("OcWindow"));
  setWindowTitle(QStringLiteral("O−C — ") + qs(star_.record.starName));
  build();
  const auto elements = timing::starElementsOf(star_.record, star_.system);
  if (elements) {
    elements_ = *elements;
    elementsText_->setText(QStringLiteral("%1  元期 %2  周期 %3 日（%4）")
                               .arg(qs(star_.record.starName), qs(numberToText(elements->epoch)),
                                    qs(numberToText(elements->period)), sky::elementsTimeName(elements->system)));
  } else {
    elementsText_->setText(qs(elements.message()));
  }
  reload();
}

OcWindow::~OcWindow() = default;

void OcWindow::build() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  elementsText_ = new QLabel;
  elementsText_->setObjectName(QStringLiteral("elementsText"));
  top->addWidget(elementsText_, 1);
  top->addWidget(new QLabel(QStringLiteral("当てはめ")));
  fitChoice_ = new QComboBox;
  fitChoice_->setObjectName(QStringLiteral("fitChoice"));
  fitChoice_->addItems({QStringLiteral("なし"), QStringLiteral("直線"), QStringLiteral("2次式")});
  fitChoice_->setCurrentIndex(1);
  connect(fitChoice_, &QComboBox::activated, this,
          [this](int index) { setFitKind(static_cast<timing::FitKind>(index)); });
  top->addWidget(fitChoice_);
  layout->addLayout(top);

  auto* splitter = new QSplitter(Qt::Vertical);
  table_ = new QTableWidget(0, kColumns);
  table_->setObjectName(QStringLiteral("observations"));
  table_->setHorizontalHeaderLabels({QStringLiteral("番号"), QStringLiteral("周期番号"), QStringLiteral("時刻"),
                                     QStringLiteral("時刻系"), QStringLiteral("O−C（分）"),
                                     QStringLiteral("誤差（日）"), QStringLiteral("種類"), QStringLiteral("外れ値"),
                                     QStringLiteral("除外")});
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row >= 0 && static_cast<std::size_t>(row) < entries_.size())
      runAddDialog(&entries_[static_cast<std::size_t>(row)]);
  });
  splitter->addWidget(table_);
  diagramWidget_ = new OcDiagramWidget;
  diagramWidget_->pointerMoved = [this](const QString& text) { readout_->setText(text); };
  splitter->addWidget(diagramWidget_);
  layout->addWidget(splitter, 1);
  readout_ = new QLabel;
  readout_->setObjectName(QStringLiteral("pointerReadout"));
  layout->addWidget(readout_);
  fitText_ = new QLabel;
  fitText_->setObjectName(QStringLiteral("fitText"));
  fitText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(fitText_);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const char* name, const QString& caption, std::function<void()> action) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    connect(b, &QPushButton::clicked, this, std::move(action));
    buttons->addWidget(b);
  };
  button("addObservation", QStringLiteral("追加…"), [this] { runAddDialog(nullptr); });
  button("editObservation", QStringLiteral("編集…"), [this] {
    const auto rows = selectedRows();
    if (rows.size() == 1) runAddDialog(&entries_[static_cast<std::size_t>(rows.front())]);
  });
  button("excludeObservation", QStringLiteral("除外／戻す"), [this] { toggleExcludedOfSelection(); });
  button("removeObservation", QStringLiteral("削除"), [this] { removeSelection(); });
  button("findMinimum", QStringLiteral("極小時刻の決定…"), [this] { openMinimumWindow(); });
  buttons->addStretch();
  button("useFit", QStringLiteral("この要素を使う"), [this] { useFit(); });
  button("exportCsv", QStringLiteral("CSV…"), [this] {
    const QString path =
        saveFileName(QStringLiteral("CSV に書き出す"), qs(star_.record.starName) + QStringLiteral("-oc.csv"),
                     QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) exportCsv(path);
  });
  button("exportPng", QStringLiteral("PNG…"), [this] {
    const QString path =
        saveFileName(QStringLiteral("PNG に書き出す"), qs(star_.record.starName) + QStringLiteral("-oc.png"),
                     QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) exportPng(path);
  });
  button("exportSvg", QStringLiteral("SVG…"), [this] {
    const QString path =
        saveFileName(QStringLiteral("SVG に書き出す"), qs(star_.record.starName) + QStringLiteral("-oc.svg"),
                     QStringLiteral("SVG (*.svg)"));
    if (!path.isEmpty()) exportSvg(path);
  });
  layout->addLayout(buttons);
  resize(900, 680);
}

void OcWindow::say(const std::string& text) { ports_.messages->showMessage(text); }

QString OcWindow::saveFileName(const QString& caption, const QString& suggested, const QString& filter) {
  if (ports_.chooseSaveFile) return ports_.chooseSaveFile(caption, suggested, filter);
  return QFileDialog::getSaveFileName(this, caption, suggested, filter);
}

void OcWindow::reload() {
  if (!log_) {
    auto opened =
        observations::ObservationLog::open(ports_.logFile.empty() ? observations::defaultLogPath() : ports_.logFile);
    if (!opened) {
      say(opened.message());
      return;
    }
    log_ = *opened;
  }
  const auto listed = log_->list(star_.record.starName);
  if (!listed) {
    say(listed.message());
    return;
  }
  entries_ = *listed;
  recompute();
}

void OcWindow::setFitKind(timing::FitKind kind) {
  fitKind_ = kind;
  fitChoice_->setCurrentIndex(static_cast<int>(kind));
  recompute();
}

void OcWindow::recompute() {
  diagram_ = {};
  if (elements_) {
    std::vector<timing::ObservedExtremum> observed;
    for (const auto& entry : entries_) observed.push_back(observations::observedOf(entry));
    diagram_ = timing::ocDiagram(observed, *elements_, fitKind_);
    diagramWidget_->setDiagram(diagram_, *elements_);
  }
  showTable();
  showFit();
}

void OcWindow::showTable() {
  table_->setRowCount(static_cast<int>(entries_.size()));
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const auto& e = entries_[i];
    const timing::OcPoint* p = i < diagram_.points.size() ? &diagram_.points[i] : nullptr;
    const QString cells[kColumns] = {
        QString::number(e.id),
        p ? qs(numberToText(p->cycle)) : QString(),
        QString::number(e.time, 'f', 6),
        sky::elementsTimeName(e.system),
        p ? QString::asprintf("%+.2f", p->oMinusCDays * timing::kMinutesPerDay) : QString(),
        e.sigmaDays ? QString::number(*e.sigmaDays, 'f', 6) : QStringLiteral("-"),
        QString::fromUtf8(kindCaption(e.kind)),
        p && p->outlier ? QStringLiteral("外れ値") : QString(),
        e.excluded ? QStringLiteral("除外") : QString()};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c != kSystem && c != kKind && c != kOutlier && c != kExcluded)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(static_cast<int>(i), c, item);
    }
  }
  table_->resizeColumnsToContents();
}

void OcWindow::showFit() {
  if (!diagram_.fit) {
    fitText_->setText(fitKind_ == timing::FitKind::none ? QString() : qs(diagram_.fitProblem));
    return;
  }
  const auto& fit = *diagram_.fit;
  QString text =
      QStringLiteral("%1の当てはめ（%2 点、基準の周期番号 %3%4）: 元期 %5 ± %6、周期 %7 ± %8 日")
          .arg(fit.kind == timing::FitKind::quadratic ? QStringLiteral("2次式") : QStringLiteral("直線"))
          .arg(fit.points)
          .arg(qs(numberToText(fit.referenceCycle)), fit.equalWeights ? QStringLiteral("、等しい重み") : QString(),
               QString::number(fit.epoch, 'f', 6), sigmaText(fit.sigmaEpoch), QString::number(fit.period, 'f', 9),
               sigmaText(fit.sigmaPeriod));
  if (fit.kind == timing::FitKind::quadratic) {
    text += QStringLiteral("、Q = %1 ± %2 日（dP/dE = %3）")
                .arg(QString::number(fit.q, 'g', 4), sigmaText(fit.sigmaQ), QString::number(fit.dpDe(), 'g', 4));
  }
  text += QStringLiteral("\ncov(E0, P) = %1 日²、χ²/自由度 = %2（自由度 %3）")
              .arg(QString::number(fit.covarianceEpochPeriod, 'g', 3), QString::number(fit.chi2PerDof(), 'f', 3))
              .arg(fit.dof);
  fitText_->setText(text);
}

std::vector<int> OcWindow::selectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void OcWindow::selectRows(const std::vector<int>& rows) {
  table_->clearSelection();
  for (int row : rows)
    table_->selectionModel()->select(table_->model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

bool OcWindow::addObservation(const observations::LogEntry& entry) {
  if (!log_) return false;
  const auto id = log_->add(entry);
  if (!id) {
    say(id.message());
    return false;
  }
  reload();
  return true;
}

bool OcWindow::editObservation(const observations::LogEntry& entry) {
  if (!log_) return false;
  if (auto refused = log_->update(entry)) {
    say(*refused);
    return false;
  }
  reload();
  return true;
}

void OcWindow::toggleExcludedOfSelection() {
  if (!log_) return;
  for (int row : selectedRows()) {
    const auto& entry = entries_[static_cast<std::size_t>(row)];
    if (auto refused = log_->setExcluded(entry.id, !entry.excluded)) {
      say(*refused);
      break;
    }
  }
  const auto rows = selectedRows();
  reload();
  selectRows(rows);
}

void OcWindow::removeSelection() {
  if (!log_) return;
  std::vector<long long> ids;
  for (int row : selectedRows()) ids.push_back(entries_[static_cast<std::size_t>(row)].id);
  if (ids.empty()) return;
  const QString question =
      QStringLiteral("選んだ %1 件の観測を観測記録から削除します。よろしいですか？").arg(ids.size());
  const bool yes = ports_.confirm
                       ? ports_.confirm(question)
                       : QMessageBox::question(this, QStringLiteral("Tenmirel"), question) == QMessageBox::Yes;
  if (!yes) return;
  if (auto refused = log_->remove(ids)) say(*refused);
  reload();
}

void OcWindow::runAddDialog(const observations::LogEntry* editing) {
  QDialog dialog(this);
  dialog.setWindowTitle(editing ? QStringLiteral("観測の編集") : QStringLiteral("観測の追加"));
  auto* form = new QFormLayout(&dialog);
  auto* time = new QLineEdit(editing ? QString::number(editing->time, 'f', 6) : QString());
  auto* sigma = new QLineEdit(editing && editing->sigmaDays ? qs(shortestNumberText(*editing->sigmaDays)) : QString());
  auto* system = new QComboBox;
  system->addItems({QStringLiteral("JD"), QStringLiteral("HJD"), QStringLiteral("BJD_TDB")});
  system->setCurrentIndex(static_cast<int>(editing ? editing->system : star_.system));
  auto* kind = new QComboBox;
  kind->addItems({QStringLiteral("主極小"), QStringLiteral("副極小"), QStringLiteral("極大")});
  if (editing) kind->setCurrentIndex(static_cast<int>(editing->kind));
  auto* method = new QLineEdit(editing ? qs(editing->method) : QString());
  auto* observer = new QLineEdit(editing ? qs(editing->observer) : QString());
  auto* note = new QLineEdit(editing ? qs(editing->note) : QString());
  form->addRow(QStringLiteral("時刻（ユリウス日）"), time);
  form->addRow(QStringLiteral("誤差（日、空欄で不明）"), sigma);
  form->addRow(QStringLiteral("時刻系"), system);
  form->addRow(QStringLiteral("種類"), kind);
  form->addRow(QStringLiteral("方法"), method);
  form->addRow(QStringLiteral("観測者"), observer);
  form->addRow(QStringLiteral("メモ"), note);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  form->addRow(box);
  connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  connect(box, &QDialogButtonBox::accepted, &dialog, [&] {
    const auto t = parseStrict(time->text().toStdString());
    if (!t || *t < kFullJulianDayFrom) {
      say("時刻は完全なユリウス日（例 2460123.4567）で入力してください");
      return;
    }
    std::optional<double> s;
    if (!sigma->text().trimmed().isEmpty()) {
      s = parseStrict(sigma->text().toStdString());
      if (!s || *s < 0) {
        say("誤差は 0 以上の日数で入力してください（不明なら空欄）");
        return;
      }
    }
    observations::LogEntry entry = editing ? *editing : observations::LogEntry{};
    entry.star = star_.record.starName;
    entry.time = *t;
    entry.sigmaDays = s;
    entry.system = static_cast<sky::ElementsTime>(system->currentIndex());
    entry.kind = static_cast<timing::ExtremumKind>(kind->currentIndex());
    entry.method = method->text().toStdString();
    entry.observer = observer->text().toStdString();
    entry.note = note->text().toStdString();
    if (editing ? editObservation(entry) : addObservation(entry)) dialog.accept();
  });
  dialog.exec();
}

bool OcWindow::useFit() {
  if (!diagram_.fit || diagram_.fit->kind != timing::FitKind::linear) {
    say("この要素を使うには、直線の当てはめを選んでください");
    return false;
  }
  if (star_.catalogue.empty()) {
    say("カタログのファイルが分からないため、要素を書き込めません（カタログを開いてから O−C を開いてください）");
    return false;
  }
  const auto replacement = timing::fittedReplacement(star_.record.starName, star_.record.memo, *diagram_.fit);
  const QString question =
      QStringLiteral(
          "カタログ「%1」の星「%2」の元期・周期を当てはめた要素（元期 %3、周期 %4）に置き換えます。"
          "元のファイルは %1~ に残します。よろしいですか？")
          .arg(QString::fromStdString(star_.catalogue.string()), qs(star_.record.starName), qs(replacement.epoch),
               qs(replacement.period));
  const bool yes = ports_.confirm
                       ? ports_.confirm(question)
                       : QMessageBox::question(this, QStringLiteral("Tenmirel"), question) == QMessageBox::Yes;
  if (!yes) return false;
  if (auto refused = ports_.elementsWriter->replaceElements(star_.catalogue.string(), replacement)) {
    say(*refused);
    return false;
  }
  star_.record.ganki = replacement.epoch;
  star_.record.syuki = replacement.period;
  star_.record.memo = replacement.memo;
  if (const auto elements = timing::starElementsOf(star_.record, star_.system)) elements_ = *elements;
  diagramWidget_->showAll();
  recompute();
  say("要素を置き換えました。予報に使うには、カタログを読み込み直してください");
  return true;
}

bool OcWindow::exportCsv(const QString& path) {
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << observations::ocCsvText(entries_, diagram_, elements_ ? elements_->system : star_.system);
  if (!out.flush()) {
    say("「" + path.toStdString() + "」に書き出せませんでした");
    return false;
  }
  return true;
}

bool OcWindow::exportSvg(const QString& path) {
  if (!elements_) return false;
  std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
  out << timing::ocDiagramSvg(diagram_, *elements_,
                              star_.record.starName + " O−C（" + sky::elementsTimeName(elements_->system) + "）");
  if (!out.flush()) {
    say("「" + path.toStdString() + "」に書き出せませんでした");
    return false;
  }
  return true;
}

bool OcWindow::exportPng(const QString& path) {
  if (!elements_) return false;
  // The same picture as the SVG, drawn by Qt's SVG renderer.
  const std::string svg = timing::ocDiagramSvg(
      diagram_, *elements_, star_.record.starName + " O−C（" + sky::elementsTimeName(elements_->system) + "）");
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  QImage image(timing::kOcSvgWidth * 2, timing::kOcSvgHeight * 2, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  if (!image.save(path, "PNG")) {
    say("「" + path.toStdString() + "」に書き出せませんでした");
    return false;
  }
  return true;
}

MinimumWindow* OcWindow::openMinimumWindow() {
  if (!minimumWindow_) {
    minimumWindow_ = new MinimumWindow(star_.record.starName, ports_, this);
    minimumWindow_->setAttribute(Qt::WA_DeleteOnClose);
    minimumWindow_->setTimeSystem(star_.system);
    minimumWindow_->recorded = [this] { reload(); };
  }
  minimumWindow_->show();
  minimumWindow_->raise();
  return minimumWindow_;
}

}  // namespace tenmirel::ui
