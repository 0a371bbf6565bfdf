#include "ui/plan/plan_computation.h"

#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <tuple>

namespace tenmirel::ui {

std::optional<sky::Checked<sky::NightPlan>> planNightInParts(
    const PlanRequest& request, std::size_t partSize, const std::atomic<bool>& cancelled,
    const std::function<void(std::size_t done, std::size_t total)>& progress) {
  const std::vector<sky::NightStar>& stars = *request.stars;
  const std::size_t size = std::max<std::size_t>(partSize, 1);
  std::optional<sky::NightPlan> whole;
  std::size_t done = 0;
  do {
    if (cancelled.load()) return std::nullopt;
    const std::size_t end = std::min(stars.size(), done + size);
    const std::vector<sky::NightStar> part(stars.begin() + static_cast<std::ptrdiff_t>(done),
                                           stars.begin() + static_cast<std::ptrdiff_t>(end));
    sky::Checked<sky::NightPlan> planned = sky::planNight(part, request.site, request.date, request.options);
    if (!planned) return planned;
    sky::NightPlan piece = *planned;
    for (sky::NightEvent& event : piece.events) event.starIndex += done;
    for (std::size_t& index : piece.skippedIndices) index += done;
    if (!whole) {
      whole = std::move(piece);
    } else {
      whole->skippedStars += piece.skippedStars;
      whole->memoWarnings.insert(whole->memoWarnings.end(), piece.memoWarnings.begin(), piece.memoWarnings.end());
      whole->skippedIndices.insert(whole->skippedIndices.end(), piece.skippedIndices.begin(),
                                   piece.skippedIndices.end());
      std::move(piece.events.begin(), piece.events.end(), std::back_inserter(whole->events));
    }
    done = end;
    if (progress) progress(done, stars.size());
  } while (done < stars.size());
  // The engine's own order: by instant, then catalogue position, then cycle.
  std::sort(whole->events.begin(), whole->events.end(), [](const sky::NightEvent& a, const sky::NightEvent& b) {
    return std::tie(a.julianDayUt, a.starIndex, a.cycle, a.phase) <
           std::tie(b.julianDayUt, b.starIndex, b.cycle, b.phase);
  });
  return sky::Checked<sky::NightPlan>::success(std::move(*whole));
}

PlanComputation::PlanComputation(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(1); }

PlanComputation::~PlanComputation() {
  cancel();
  pool_.waitForDone();
}

void PlanComputation::cancel() {
  if (cancelled_) cancelled_->store(true);
  ++generation_;
  running_ = false;
}

void PlanComputation::waitForWorker() { pool_.waitForDone(); }

void PlanComputation::start(PlanRequest request) {
  cancel();
  const std::uint64_t generation = generation_;
  if (!request.stars) request.stars = std::make_shared<const std::vector<sky::NightStar>>();
  if (request.stars->size() <= synchronousLimit) {
    sky::Checked<sky::NightPlan> plan = sky::planNight(*request.stars, request.site, request.date, request.options);
    if (finished) finished(std::move(plan));
    return;
  }
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  running_ = true;
  auto cancelled = cancelled_;
  const std::size_t partSize = this->partSize;
  // Reports come back to the window thread, and only while this run is the latest.
  auto report = [this, generation](std::function<void(PlanComputation&)> apply) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, apply = std::move(apply)]() {
          if (generation == generation_) apply(*this);
        },
        Qt::QueuedConnection);
  };
  (void)QtConcurrent::run(&pool_, [request = std::move(request), cancelled, partSize, report]() {
    auto outcome = planNightInParts(request, partSize, *cancelled, [&](std::size_t done, std::size_t total) {
      report([done, total](PlanComputation& self) {
        if (self.progress) self.progress(done, total);
      });
    });
    if (!outcome) return;
    auto shared = std::make_shared<sky::Checked<sky::NightPlan>>(std::move(*outcome));
    report([shared](PlanComputation& self) {
      self.running_ = false;
      if (self.finished) self.finished(std::move(*shared));
    });
  });
}

}  // namespace tenmirel::ui
