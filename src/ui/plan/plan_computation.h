#pragma once
// Runs the night engine for the plan window. A small catalogue is planned at once
// on the window thread (well within the time of a keystroke); a large one goes to
// a worker thread in parts of stars, reporting progress after each part, and a new
// request cancels the running one. The parts are merged into exactly the plan the
// engine gives for the whole catalogue.
#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "sky/night_plan.h"

namespace tenmirel::ui {

struct PlanRequest {
  std::shared_ptr<const std::vector<sky::NightStar>> stars;
  sky::Site site;
  sky::NightDate date;
  sky::NightOptions options;
};

// planNight over the stars part by part: nothing when cancelled between parts.
// progress is told the stars done after each part.
std::optional<sky::Checked<sky::NightPlan>> planNightInParts(
    const PlanRequest& request, std::size_t partSize, const std::atomic<bool>& cancelled,
    const std::function<void(std::size_t done, std::size_t total)>& progress);

class PlanComputation : public QObject {
 public:
  explicit PlanComputation(QObject* parent = nullptr);
  ~PlanComputation() override;

  // Catalogues up to this many stars are planned on the window thread.
  std::size_t synchronousLimit = 3000;
  std::size_t partSize = 1000;

  std::function<void(sky::Checked<sky::NightPlan>)> finished;
  std::function<void(std::size_t done, std::size_t total)> progress;

  // Cancels a running computation and starts this one; finished is called once
  // for it (at once for a small catalogue), never for a cancelled one.
  void start(PlanRequest request);
  void cancel();
  bool running() const { return running_; }
  // Waits for the worker (tests).
  void waitForWorker();

 private:
  QThreadPool pool_;
  std::shared_ptr<std::atomic<bool>> cancelled_;
  std::uint64_t generation_ = 0;
  bool running_ = false;
};

}  // namespace tenmirel::ui
