#include "ui/gothic_fonts.h"

#include <QFontDatabase>

namespace tenmirel::ui {
namespace {

bool looksGothic(const QString& family) {
  return family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
         family.contains(QStringLiteral("ゴシック")) || family.contains(QStringLiteral("Sans"), Qt::CaseInsensitive);
}

}  // namespace

QStringList preferredGothicFamilies(GothicPitch pitch) {
  if (pitch == GothicPitch::kFixed) {
    return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
            QStringLiteral("IPAゴシック")};
  }
  return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
          QStringLiteral("IPA Pゴシック")};
}

QString chooseGothicFamily(GothicPitch pitch, const std::function<bool(const QString&)>& hasFamily,
                           const std::function<QStringList()>& listJapaneseFamilies,
                           const std::function<bool(const QString&)>& isFixedPitch) {
  for (const QString& family : preferredGothicFamilies(pitch)) {
    if (hasFamily(family)) return family;
  }
  const QStringList japaneseFamilies = listJapaneseFamilies();
  const bool wantFixed = pitch == GothicPitch::kFixed;
  QString anyGothic;
  for (const QString& family : japaneseFamilies) {
    if (!looksGothic(family)) continue;
    if (isFixedPitch(family) == wantFixed) return family;
    if (anyGothic.isEmpty()) anyGothic = family;
  }
  if (!anyGothic.isEmpty()) return anyGothic;
  return japaneseFamilies.isEmpty() ? QString() : japaneseFamilies.front();
}

QString gothicFamily(GothicPitch pitch) {
  auto lookUp = [](GothicPitch p) {
    return chooseGothicFamily(
        p, [](const QString& family) { return QFontDatabase::hasFamily(family); },
        [] { return QFontDatabase::families(QFontDatabase::Japanese); },
        [](const QString& family) { return QFontDatabase::isFixedPitch(family); });
  };
  static const QString proportional = lookUp(GothicPitch::kProportional);
  static const QString fixed = lookUp(GothicPitch::kFixed);
  return pitch == GothicPitch::kFixed ? fixed : proportional;
}

QFont gothicFont(GothicPitch pitch, double points) {
  QFont font;
  const QString family = gothicFamily(pitch);
  if (!family.isEmpty()) font.setFamilies({family});
  font.setStyleHint(pitch == GothicPitch::kFixed ? QFont::Monospace : QFont::SansSerif);
  font.setPointSizeF(points);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

}  // namespace tenmirel::ui
