#include "ui/timing/minimum_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <filesystem>

#include "timing/day_units.h"
#include "timing/light_curve.h"
#include "ui/qt_ports.h"
#include "ui/timing/light_curve_widget.h"

namespace tenmirel::ui {
namespace {

constexpr const char* kLightCurveFilter = "光度曲線 (*.csv *.tsv *.txt *.dat)";
constexpr const char* kLightCurvePattern = "*.csv *.tsv *.txt *.dat";

QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

MinimumWindow::MinimumWindow(const std::string& starName, TimingWindowPorts ports, QWidget* parent)
    : QWidget(parent, Qt::Window), ports_(std::move(ports)) {
  if (!ports_.messages) {
    ownMessages_ = std::make_unique<QtMessageSink>(this);
    ports_.messages = ownMessages_.get();
  }
  setObjectName(QStringLiteral("MinimumWindow"));
  setWindowTitle(QStringLiteral("極小時刻の決定"));
  build();
  starName_->setText(qs(starName));
  connect(&watcher_, &QFutureWatcher<Outcome>::finished, this, [this] { finished(); });
}

MinimumWindow::~MinimumWindow() { watcher_.waitForFinished(); }

void MinimumWindow::build() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* open = new QPushButton(QStringLiteral("開く…"));
  open->setObjectName(QStringLiteral("openLightCurve"));
  connect(open, &QPushButton::clicked, this, [this] { openWithChooser(); });
  top->addWidget(open);
  timeSystem_ = new QComboBox;
  timeSystem_->setObjectName(QStringLiteral("timeSystem"));
  timeSystem_->addItems({QStringLiteral("JD"), QStringLiteral("HJD"), QStringLiteral("BJD_TDB")});
  top->addWidget(new QLabel(QStringLiteral("時刻系")));
  top->addWidget(timeSystem_);
  kind_ = new QComboBox;
  kind_->setObjectName(QStringLiteral("extremumKind"));
  kind_->addItems({QStringLiteral("主極小"), QStringLiteral("副極小"), QStringLiteral("極大")});
  connect(kind_, &QComboBox::activated, this, [this](int index) {
    const bool maximum = index == 2;
    if (maximum != request_.maximum) {
      request_.maximum = maximum;
      compute();
    }
  });
  top->addWidget(kind_);
  auto* whole = new QPushButton(QStringLiteral("範囲を自動に"));
  whole->setObjectName(QStringLiteral("automaticSpan"));
  connect(whole, &QPushButton::clicked, this, [this] { clearSpan(); });
  top->addWidget(whole);
  top->addStretch();
  layout->addLayout(top);

  curveWidget_ = new LightCurveWidget;
  curveWidget_->spanChosen = [this](double from, double to) { setSpan(from, to); };
  layout->addWidget(curveWidget_, 1);
  resultText_ = new QLabel(QStringLiteral("光度曲線のファイルを開き、極小の前後をドラッグして範囲を選びます。"));
  resultText_->setObjectName(QStringLiteral("minimumResult"));
  resultText_->setWordWrap(true);
  resultText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(resultText_);

  auto* form = new QFormLayout;
  starName_ = new QLineEdit;
  starName_->setObjectName(QStringLiteral("starName"));
  observer_ = new QLineEdit;
  observer_->setObjectName(QStringLiteral("observer"));
  form->addRow(QStringLiteral("星名"), starName_);
  form->addRow(QStringLiteral("観測者"), observer_);
  layout->addLayout(form);
  recordButton_ = new QPushButton(QStringLiteral("記録"));
  recordButton_->setObjectName(QStringLiteral("recordMinimum"));
  recordButton_->setEnabled(false);
  connect(recordButton_, &QPushButton::clicked, this, [this] { record(); });
  layout->addWidget(recordButton_, 0, Qt::AlignRight);
  resize(720, 520);
}

void MinimumWindow::say(const std::string& text) { ports_.messages->showMessage(text); }

bool MinimumWindow::busy() const { return pending_; }

QString MinimumWindow::problemText() const { return qs(problem_); }

void MinimumWindow::openWithChooser() {
  std::unique_ptr<QtFileChooser> own;
  FileChooser* chooser = ports_.chooser;
  if (!chooser) {
    own = std::make_unique<QtFileChooser>(this, [] { return QString(); });
    chooser = own.get();
  }
  const auto path = chooser->chooseFileToOpen(kLightCurveFilter, kLightCurvePattern);
  if (path) openFile(*path);
}

void MinimumWindow::start(std::function<Outcome()> work) {
  ++generation_;
  pending_ = true;
  recordButton_->setEnabled(false);
  resultText_->setText(QStringLiteral("計算中…"));
  const int generation = generation_;
  watcher_.setFuture(QtConcurrent::run([work = std::move(work), generation] {
    Outcome outcome = work();
    outcome.generation = generation;
    return outcome;
  }));
}

void MinimumWindow::openFile(const std::string& path) {
  sourceName_ = std::filesystem::path(path).filename().string();
  request_ = {};
  request_.maximum = kind_->currentIndex() == 2;
  const timing::ExtremumRequest chosen = request_;
  start([path, chosen] {
    Outcome outcome;
    const auto curve = timing::readLightCurveFile(path);
    if (!curve) {
      outcome.problem = curve.message();
      return outcome;
    }
    outcome.notes = curve->notes;
    outcome.curve = std::make_shared<const timing::LightCurve>(*curve);
    const auto found = timing::findExtremum(*outcome.curve, chosen);
    if (found)
      outcome.found = *found;
    else
      outcome.problem = found.message();
    return outcome;
  });
}

void MinimumWindow::compute() {
  if (!curve_) return;
  const auto curve = curve_;
  const timing::ExtremumRequest chosen = request_;
  start([curve, chosen] {
    Outcome outcome;
    outcome.curve = curve;
    const auto found = timing::findExtremum(*curve, chosen);
    if (found)
      outcome.found = *found;
    else
      outcome.problem = found.message();
    return outcome;
  });
}

void MinimumWindow::finished() {
  const Outcome outcome = watcher_.result();
  if (outcome.generation != generation_) return;
  pending_ = false;
  if (!outcome.curve) {
    resultText_->setText(qs(outcome.problem));
    say(outcome.problem);
    return;
  }
  if (outcome.curve != curve_) {
    curve_ = outcome.curve;
    curveWidget_->setCurve(curve_);
  }
  result_ = outcome.found;
  problem_ = outcome.problem;
  curveWidget_->setResult(result_, request_.maximum);
  QString text;
  for (const std::string& note : outcome.notes) text += qs(note) + QLatin1Char('\n');
  if (result_) {
    const QString system = timeSystem_->currentText();
    text += QStringLiteral("%1: %2 %3 ± %4 日（%5 秒）、Kwee–van Woerden、%6 点")
                .arg(request_.maximum ? QStringLiteral("極大") : QStringLiteral("極小"))
                .arg(QString::number(result_->julianDay, 'f', 6), system, QString::number(result_->sigmaDays, 'f', 6),
                     QString::number(result_->sigmaDays * timing::kSecondsPerDay, 'f', 1))
                .arg(result_->points);
    if (result_->check) {
      text += QStringLiteral("\n確認（対称多項式）: %1 ± %2 日")
                  .arg(QString::number(result_->check->time, 'f', 6), QString::number(result_->check->sigma, 'f', 6));
    }
    if (!result_->disagreement.empty()) text += QLatin1Char('\n') + qs(result_->disagreement);
  } else {
    text += qs(problem_);
  }
  resultText_->setText(text);
  recordButton_->setEnabled(result_.has_value());
}

void MinimumWindow::setSpan(double from, double to) {
  request_.from = from;
  request_.to = to;
  compute();
}

void MinimumWindow::clearSpan() {
  request_.from.reset();
  request_.to.reset();
  compute();
}

void MinimumWindow::setMaximum(bool maximum) {
  kind_->setCurrentIndex(maximum ? 2 : 0);
  request_.maximum = maximum;
  compute();
}

void MinimumWindow::setTimeSystem(sky::ElementsTime system) { timeSystem_->setCurrentIndex(static_cast<int>(system)); }

std::optional<long long> MinimumWindow::record() {
  if (!result_ || busy()) return std::nullopt;
  const std::string star = starName_->text().trimmed().toStdString();
  if (star.empty()) {
    say("星名を入力してください");
    return std::nullopt;
  }
  auto log =
      observations::ObservationLog::open(ports_.logFile.empty() ? observations::defaultLogPath() : ports_.logFile);
  if (!log) {
    say(log.message());
    return std::nullopt;
  }
  observations::LogEntry entry;
  entry.star = star;
  entry.time = result_->julianDay;
  entry.sigmaDays = result_->sigmaDays;
  entry.system = static_cast<sky::ElementsTime>(timeSystem_->currentIndex());
  entry.kind = static_cast<timing::ExtremumKind>(kind_->currentIndex());
  entry.method = "KvW";
  entry.observer = observer_->text().toStdString();
  entry.source = sourceName_;
  const auto id = (*log)->add(entry);
  if (!id) {
    say(id.message());
    return std::nullopt;
  }
  resultText_->setText(resultText_->text() + QStringLiteral("\n観測記録に番号 %1 で記録しました").arg(*id));
  if (recorded) recorded();
  return *id;
}

}  // namespace tenmirel::ui
