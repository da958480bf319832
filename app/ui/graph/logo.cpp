#include "logo.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>

#include "graph_canvas.h"
#include "graph_geometry.h"

namespace chromiva::ui {
namespace {

constexpr long kTransparentAbove = 12582912;  // blue 192, green 0, red 0

}  // namespace

QStringList LogoSearchPaths() {
  QStringList paths{QDir::current().filePath(QString::fromLatin1(kLogoFileName))};
  const QString name = QStringLiteral("/chromiva/") + QString::fromLatin1(kLogoFileName);
  if (QCoreApplication::instance() != nullptr) {
    paths << QCoreApplication::applicationDirPath() + QStringLiteral("/../share") + name;
  }
#ifdef CHROMIVA_DATA_DIR
  paths << QStringLiteral(CHROMIVA_DATA_DIR) + name;
#endif
  return paths;
}

QImage LoadLogoBitmap() {
  for (const QString& path : LogoSearchPaths()) {
    QImage bitmap(path);
    if (!bitmap.isNull()) return bitmap;
  }
  return {};
}

QImage LogoImage(const QImage& bitmap) {
  QImage logo(kLogoWidth, kLogoHeight, QImage::Format_ARGB32);
  logo.fill(Qt::transparent);
  if (bitmap.isNull()) {
    QPainter painter(&logo);
    painter.setFont(GraphFont());
    PaintText(painter, {20, 30}, QString::fromLatin1(kLogoFallbackText));
    return logo;
  }
  const int width = std::min(kLogoWidth, bitmap.width());
  const int height = std::min(kLogoHeight, bitmap.height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = bitmap.pixel(x, y);
      const long value = qBlue(pixel) * 65536L + qGreen(pixel) * 256L + qRed(pixel);
      if (value > kTransparentAbove) continue;
      logo.setPixel(x, y, qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
    }
  }
  return logo;
}

}  // namespace chromiva::ui
