#include "timing/oc_svg.h"
#include "timing/day_units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tenmirel::timing {
namespace {

constexpr double kLeft = 80, kRight = 20, kTop = 40, kBottom = 60;
constexpr double kMarker = 4;
constexpr int kFitSteps = 200;
constexpr int kTickTarget = 6;

std::string number(double value, int decimals = 2) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
      out += c;
  }
  return out;
}

// A round step giving about kTickTarget ticks over the range.
double tickStep(double range) {
  const double raw = range / kTickTarget;
  const double power = std::pow(10, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0, 10.0}) {
    if (factor * power >= raw) return factor * power;
  }
  return 10 * power;
}

struct Scale {
  double lo, hi, pixelLo, pixelHi;
  double operator()(double value) const { return pixelLo + (value - lo) / (hi - lo) * (pixelHi - pixelLo); }
};

}  // namespace

std::string ocDiagramSvg(const OcDiagram& diagram, const StarElements& elements, const std::string& title) {
  double cycleLo = 0, cycleHi = 1, ocLo = -1, ocHi = 1;
  bool first = true;
  for (const OcPoint& p : diagram.points) {
    const double oc = p.oMinusCDays * kMinutesPerDay;
    const double bar = p.observed.sigmaDays.value_or(0) * kMinutesPerDay;
    if (first) cycleLo = cycleHi = p.cycle, ocLo = oc - bar, ocHi = oc + bar, first = false;
    cycleLo = std::min(cycleLo, p.cycle), cycleHi = std::max(cycleHi, p.cycle);
    ocLo = std::min(ocLo, oc - bar), ocHi = std::max(ocHi, oc + bar);
  }
  ocLo = std::min(ocLo, 0.0), ocHi = std::max(ocHi, 0.0);
  if (cycleHi - cycleLo < 1) cycleLo -= 1, cycleHi += 1;
  if (ocHi - ocLo < 1e-3) ocLo -= 1, ocHi += 1;
  const double cyclePad = (cycleHi - cycleLo) * 0.05, ocPad = (ocHi - ocLo) * 0.08;
  cycleLo -= cyclePad, cycleHi += cyclePad, ocLo -= ocPad, ocHi += ocPad;
  const Scale x{cycleLo, cycleHi, kLeft, kOcSvgWidth - kRight};
  const Scale y{ocLo, ocHi, kOcSvgHeight - kBottom, kTop};

  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      std::to_string(kOcSvgWidth) + "\" height=\"" + std::to_string(kOcSvgHeight) + "\" viewBox=\"0 0 " +
      std::to_string(kOcSvgWidth) + " " + std::to_string(kOcSvgHeight) +
      "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg += "<text x=\"" + number(kLeft, 0) + "\" y=\"24\" font-size=\"15\">" + escaped(title) + "</text>\n";
  // Axes and ticks.
  svg += "<rect x=\"" + number(kLeft, 0) + "\" y=\"" + number(kTop, 0) + "\" width=\"" +
         number(kOcSvgWidth - kLeft - kRight, 0) + "\" height=\"" + number(kOcSvgHeight - kTop - kBottom, 0) +
         "\" fill=\"none\" stroke=\"black\"/>\n";
  // Cycles are whole numbers: no tick between two of them.
  const double cycleStep = std::max(1.0, tickStep(cycleHi - cycleLo));
  for (double c = std::ceil(cycleLo / cycleStep) * cycleStep; c <= cycleHi; c += cycleStep) {
    svg += "<line x1=\"" + number(x(c)) + "\" y1=\"" + number(kOcSvgHeight - kBottom, 0) + "\" x2=\"" + number(x(c)) +
           "\" y2=\"" + number(kOcSvgHeight - kBottom + 5, 0) + "\" stroke=\"black\"/><text x=\"" + number(x(c)) +
           "\" y=\"" + number(kOcSvgHeight - kBottom + 18, 0) + "\" text-anchor=\"middle\">" + number(c, 0) +
           "</text>\n";
  }
  const double ocStep = tickStep(ocHi - ocLo);
  const int ocDecimals = std::max(0, -static_cast<int>(std::floor(std::log10(ocStep))));
  for (double o = std::ceil(ocLo / ocStep) * ocStep; o <= ocHi; o += ocStep) {
    svg += "<line x1=\"" + number(kLeft - 5, 0) + "\" y1=\"" + number(y(o)) + "\" x2=\"" + number(kLeft, 0) +
           "\" y2=\"" + number(y(o)) + "\" stroke=\"black\"/><text x=\"" + number(kLeft - 8, 0) + "\" y=\"" +
           number(y(o) + 4) + "\" text-anchor=\"end\">" + number(std::fabs(o) < ocStep / 2 ? 0 : o, ocDecimals) +
           "</text>\n";
  }
  svg += "<text x=\"" + number((kLeft + kOcSvgWidth - kRight) / 2) + "\" y=\"" + number(kOcSvgHeight - 15, 0) +
         "\" text-anchor=\"middle\">周期番号 E</text>\n";
  svg += "<text transform=\"translate(20," + number((kTop + kOcSvgHeight - kBottom) / 2) +
         ") rotate(-90)\" text-anchor=\"middle\">O − C（分）</text>\n";
  // The current elements' zero line.
  svg += "<line x1=\"" + number(kLeft, 0) + "\" y1=\"" + number(y(0)) + "\" x2=\"" + number(kOcSvgWidth - kRight, 0) +
         "\" y2=\"" + number(y(0)) + "\" stroke=\"#888\" stroke-dasharray=\"6 4\"/>\n";
  // The fit.
  if (diagram.fit) {
    std::string points;
    for (int k = 0; k <= kFitSteps; ++k) {
      const double c = cycleLo + (cycleHi - cycleLo) * k / kFitSteps;
      const double oc = (diagram.fit->timeAt(c) - (elements.epoch + c * elements.period)) * kMinutesPerDay;
      points += number(x(c)) + "," + number(std::clamp(y(oc), kTop, kOcSvgHeight - kBottom)) + " ";
    }
    svg += "<polyline fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
  }
  // The observations.
  for (const OcPoint& p : diagram.points) {
    const double px = x(p.cycle), py = y(p.oMinusCDays * kMinutesPerDay);
    const std::string colour = p.observed.excluded ? "#aaa" : "black";
    if (p.observed.sigmaDays && *p.observed.sigmaDays > 0) {
      const double bar = *p.observed.sigmaDays * kMinutesPerDay;
      svg += "<line x1=\"" + number(px) + "\" y1=\"" + number(y(p.oMinusCDays * kMinutesPerDay - bar)) + "\" x2=\"" +
             number(px) + "\" y2=\"" + number(y(p.oMinusCDays * kMinutesPerDay + bar)) + "\" stroke=\"" + colour +
             "\"/>\n";
    }
    if (p.observed.kind == ExtremumKind::maximum) {
      svg += "<rect x=\"" + number(px - kMarker) + "\" y=\"" + number(py - kMarker) + "\" width=\"" +
             number(2 * kMarker) + "\" height=\"" + number(2 * kMarker) + "\" fill=\"" + colour + "\"/>\n";
    } else {
      const bool secondary = p.observed.kind == ExtremumKind::secondary;
      svg += "<circle cx=\"" + number(px) + "\" cy=\"" + number(py) + "\" r=\"" + number(kMarker) + "\" fill=\"" +
             (secondary ? "white" : colour) + "\" stroke=\"" + colour + "\"/>\n";
    }
    if (p.outlier && !p.observed.excluded) {
      svg += "<circle cx=\"" + number(px) + "\" cy=\"" + number(py) + "\" r=\"" + number(2 * kMarker) +
             "\" fill=\"none\" stroke=\"#d62728\"/>\n";
    }
  }
  // The legend.
  const double lx = kOcSvgWidth - kRight - 150, ly = kTop + 16;
  svg += "<circle cx=\"" + number(lx) + "\" cy=\"" + number(ly - 4) + "\" r=\"4\"/><text x=\"" + number(lx + 10) +
         "\" y=\"" + number(ly) + "\">主極小</text>\n";
  svg += "<circle cx=\"" + number(lx) + "\" cy=\"" + number(ly + 14) +
         "\" r=\"4\" fill=\"white\" stroke=\"black\"/><text x=\"" + number(lx + 10) + "\" y=\"" + number(ly + 18) +
         "\">副極小</text>\n";
  if (diagram.fit) {
    svg += "<line x1=\"" + number(lx - 6) + "\" y1=\"" + number(ly + 32) + "\" x2=\"" + number(lx + 6) + "\" y2=\"" +
           number(ly + 32) + "\" stroke=\"#1f77b4\" stroke-width=\"1.5\"/><text x=\"" + number(lx + 10) + "\" y=\"" +
           number(ly + 36) + "\">" + (diagram.fit->kind == FitKind::quadratic ? "2次式の当てはめ" : "直線の当てはめ") +
           "</text>\n";
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace tenmirel::timing
