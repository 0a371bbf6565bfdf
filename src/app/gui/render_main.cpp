// tenmirel-render IN.svg OUT.png: draws an SVG picture (the O−C diagram that
// tenmirel-cli writes) as a PNG at twice its size on white. tenmirel-cli stays
// free of Qt and runs this program for its --png; it needs no display.
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <string>

namespace {

constexpr int kScale = 2;  // as the O−C window's PNG…
constexpr int kLargestSide = 16384;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Qt's own notes (such as a missing XDG_RUNTIME_DIR) would only clutter the
// command line's output; its errors still show.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

int fail(const std::string& message) {
  std::fprintf(stderr, "tenmirel-render: %s\n", message.c_str());
  return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "使い方: tenmirel-render IN.svg OUT.png\n");
    return kExitUsage;
  }
  qInstallMessageHandler(quietQt);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string in = argv[1];
  const std::string out = argv[2];

  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) return fail("「" + in + "」を読めませんでした");
  QSvgRenderer renderer(file.readAll());
  const QSize size = renderer.defaultSize() * kScale;
  if (!renderer.isValid() || size.isEmpty() || size.width() > kLargestSide || size.height() > kLargestSide)
    return fail("「" + in + "」は描ける SVG ではありません");

  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) return fail("「" + out + "」に書き出せませんでした");
  return 0;
}
