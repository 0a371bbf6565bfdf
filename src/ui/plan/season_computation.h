#pragma once
// Runs the season engine for the plan window's second tab. A short season is
// planned at once on the window thread; a longer one goes to a worker thread in
// parts of nights, reporting the nights done after each part, and a new request
// cancels the running one. The parts join into exactly the engine's season.
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "sky/season_plan.h"

namespace tenmirel::ui {

struct SeasonWork {
  std::vector<sky::NightStar> stars;
  sky::Site site;
  sky::NightDate from;
  int nights = 0;
  sky::NightOptions options;
};

// planSeason part by part: nothing when cancelled between parts. progress is told
// the nights done after each part.
std::optional<sky::Checked<sky::SeasonPlan>> planSeasonInParts(
    const SeasonWork& work, int partNights, const std::atomic<bool>& cancelled,
    const std::function<void(int done, int total)>& progress);

class SeasonComputation : public QObject {
 public:
  explicit SeasonComputation(QObject* parent = nullptr);
  ~SeasonComputation() override;

  // Seasons of up to this many star-nights are planned on the window thread
  // (a few tens of milliseconds).
  int synchronousLimit = 100;
  int partNights = 30;

  std::function<void(sky::Checked<sky::SeasonPlan>)> finished;
  std::function<void(int done, int total)> progress;

  // Whether start() will hand this work to the worker.
  bool inBackground(const SeasonWork& work) const;
  // Cancels a running computation and starts this one; finished is called once
  // for it (at once for a short season), never for a cancelled one.
  void start(SeasonWork work);
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
