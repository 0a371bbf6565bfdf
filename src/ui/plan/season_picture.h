#pragma once
// The season's picture: one row per night, the dark window shaded in it, the
// star's passing events placed at their local time, eclipses as bars from first
// to last contact. Time runs across from the evening's noon to the next noon.
#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

#include "sky/season_plan.h"

namespace tenmirel::ui {

struct SeasonPictureRow {
  QString label;  // "12-07"
  // Hours after the evening's local noon; no window on a night without darkness.
  bool dark = false;
  double windowStartHours = 0;
  double windowEndHours = 0;
  struct Mark {
    double startHours = 0;  // first contact, or the extremum itself
    double endHours = 0;    // last contact, or the extremum itself
    bool secondary = false;
  };
  std::vector<Mark> marks;
};

struct SeasonPictureData {
  QString caption;
  std::vector<SeasonPictureRow> rows;
};

// The rows of the passing events of the star named (all stars when empty).
SeasonPictureData buildSeasonPicture(const sky::SeasonPlan& season, const std::string& starName);

// The picture into area, its texts in ink; the widget's and the saved files' own.
void paintSeasonPicture(class QPainter& painter, const QRectF& area, const SeasonPictureData& data, const QColor& ink);
// False when the file cannot be written.
bool saveSeasonPicturePng(const SeasonPictureData& data, QSize size, double devicePixelRatio, const QString& path);
bool saveSeasonPictureSvg(const SeasonPictureData& data, QSize size, const QString& path);

class SeasonPictureWidget : public QWidget {
 public:
  explicit SeasonPictureWidget(QWidget* parent = nullptr);
  void setData(SeasonPictureData data);
  const SeasonPictureData& data() const { return data_; }
  QSize sizeHint() const override { return {720, 320}; }

 protected:
  void paintEvent(class QPaintEvent* event) override;

 private:
  SeasonPictureData data_;
};

}  // namespace tenmirel::ui
