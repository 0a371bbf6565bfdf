#pragma once
// The windows were drawn for the Windows Japanese Gothic faces. Ask for them by
// name first, then for their metric-compatible IPA twins, then for any Japanese
// Gothic face, so that captions keep their widths and fit their controls.
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

namespace tenmirel::ui {

enum class GothicPitch {
  kProportional,  // ＭＳ Ｐゴシック
  kFixed,         // ＭＳ ゴシック
};

// The faces asked for, most wanted first.
QStringList preferredGothicFamilies(GothicPitch pitch);

// Picks the family to use: the first preferred one that exists, else a Japanese
// family whose name says Gothic (a fixed-pitch one for kFixed when there is
// one), else any Japanese family, else an empty text (the default face).
// The Japanese families are asked for only when no preferred face exists.
QString chooseGothicFamily(GothicPitch pitch, const std::function<bool(const QString&)>& hasFamily,
                           const std::function<QStringList()>& japaneseFamilies,
                           const std::function<bool(const QString&)>& isFixedPitch);

// The family chosen from the fonts installed on this machine; looked up once.
QString gothicFamily(GothicPitch pitch);

// The Gothic face at the given size in points, regular weight.
QFont gothicFont(GothicPitch pitch, double points);

}  // namespace tenmirel::ui
