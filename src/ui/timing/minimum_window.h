#pragma once
// The window "極小時刻の決定": open a light-curve file, see its points, drag to
// choose the span, see the Kwee–van Woerden time with its error bar and the
// mirrored branch over the other, and "記録" it in the observations log. Reading
// and computing run on a worker thread, so a 100,000-point curve never freezes
// the window; a newer request makes an older answer void.
#include <QFutureWatcher>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "observations/observation_log.h"
#include "timing/extremum_time.h"
#include "ui/timing/timing_ports.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tenmirel::ui {

class LightCurveWidget;
class QtMessageSink;

class MinimumWindow : public QWidget {
 public:
  MinimumWindow(const std::string& starName, TimingWindowPorts ports, QWidget* parent = nullptr);
  ~MinimumWindow() override;

  // "開く…": asks the chooser for a file and reads it.
  void openWithChooser();
  // Reads the file and finds the extremum (on the worker thread).
  void openFile(const std::string& path);
  void setSpan(double from, double to);
  void clearSpan();
  void setMaximum(bool maximum);
  void setTimeSystem(sky::ElementsTime system);
  // True from a request until its answer is shown.
  bool busy() const;
  const std::optional<timing::ExtremumTime>& result() const { return result_; }
  QString problemText() const;
  // "記録": adds the time to the log; the id, or nothing after a message.
  std::optional<long long> record();
  // Called after a time was recorded (the O−C window reads the log again).
  std::function<void()> recorded;
  LightCurveWidget* curveWidget() const { return curveWidget_; }
  QLabel* resultLabel() const { return resultText_; }

 private:
  struct Outcome {
    std::shared_ptr<const timing::LightCurve> curve;
    std::optional<timing::ExtremumTime> found;
    std::string problem;
    std::vector<std::string> notes;
    int generation = 0;
  };
  void build();
  void start(std::function<Outcome()> work);
  void finished();
  void compute();
  void say(const std::string& text);

  TimingWindowPorts ports_;
  std::unique_ptr<QtMessageSink> ownMessages_;
  std::string sourceName_;
  std::shared_ptr<const timing::LightCurve> curve_;
  timing::ExtremumRequest request_;
  std::optional<timing::ExtremumTime> result_;
  std::string problem_;
  int generation_ = 0;
  bool pending_ = false;  // an answer is awaited (until its finished() has run)
  QFutureWatcher<Outcome> watcher_;

  QLineEdit* starName_ = nullptr;
  QComboBox* timeSystem_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLineEdit* observer_ = nullptr;
  LightCurveWidget* curveWidget_ = nullptr;
  QLabel* resultText_ = nullptr;
  QPushButton* recordButton_ = nullptr;
};

}  // namespace tenmirel::ui
