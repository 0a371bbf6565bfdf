#include "ui/plan/season_computation.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace tenmirel::ui {

std::optional<sky::Checked<sky::SeasonPlan>> planSeasonInParts(
    const SeasonWork& work, int partNights, const std::atomic<bool>& cancelled,
    const std::function<void(int done, int total)>& progress) {
  // The engine's own refusal of the count comes before any part is planned.
  if (work.nights < 1 || work.nights > sky::kMostSeasonNights) {
    return sky::planSeason(work.stars, work.site, work.from, work.nights, work.options);
  }
  const int size = std::max(partNights, 1);
  sky::SeasonPlan whole;
  whole.nights.reserve(static_cast<std::size_t>(work.nights));
  int done = 0;
  while (done < work.nights) {
    if (cancelled.load()) return std::nullopt;
    const int count = std::min(size, work.nights - done);
    sky::Checked<sky::SeasonPlan> part =
        sky::planSeason(work.stars, work.site, sky::nightAfter(work.from, done), count, work.options);
    if (!part) return part;
    std::move(part->nights.begin(), part->nights.end(), std::back_inserter(whole.nights));
    done += count;
    if (progress) progress(done, work.nights);
  }
  return sky::Checked<sky::SeasonPlan>::success(std::move(whole));
}

SeasonComputation::SeasonComputation(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(1); }

SeasonComputation::~SeasonComputation() {
  cancel();
  pool_.waitForDone();
}

void SeasonComputation::cancel() {
  if (cancelled_) cancelled_->store(true);
  ++generation_;
  running_ = false;
}

void SeasonComputation::waitForWorker() { pool_.waitForDone(); }

bool SeasonComputation::inBackground(const SeasonWork& work) const {
  const long long starNights = static_cast<long long>(work.stars.size()) * work.nights;
  return starNights > synchronousLimit;
}

void SeasonComputation::start(SeasonWork work) {
  cancel();
  const std::uint64_t generation = generation_;
  if (!inBackground(work)) {
    sky::Checked<sky::SeasonPlan> season = sky::planSeason(work.stars, work.site, work.from, work.nights, work.options);
    if (finished) finished(std::move(season));
    return;
  }
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  running_ = true;
  auto cancelled = cancelled_;
  const int partNights = this->partNights;
  // Reports come back to the window thread, and only while this run is the latest.
  auto report = [this, generation](std::function<void(SeasonComputation&)> apply) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, apply = std::move(apply)]() {
          if (generation == generation_) apply(*this);
        },
        Qt::QueuedConnection);
  };
  (void)QtConcurrent::run(&pool_, [work = std::move(work), cancelled, partNights, report]() {
    auto outcome = planSeasonInParts(work, partNights, *cancelled, [&](int done, int total) {
      report([done, total](SeasonComputation& self) {
        if (self.progress) self.progress(done, total);
      });
    });
    if (!outcome) return;
    auto shared = std::make_shared<sky::Checked<sky::SeasonPlan>>(std::move(*outcome));
    report([shared](SeasonComputation& self) {
      self.running_ = false;
      if (self.finished) self.finished(std::move(*shared));
    });
  });
}

}  // namespace tenmirel::ui
