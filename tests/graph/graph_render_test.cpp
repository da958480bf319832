// Pixels of the painted frame, the logo and the number dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <thread>

#include "dialogs/edit_num_dlg.h"
#include "graph_canvas.h"
#include "graph_view.h"
#include "logo.h"

namespace chromiva::ui {
namespace {

constexpr int kHc = 563;

QRgb Rgb32(Rgb colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

TEST(GraphRenderTest, GridColumnsOnlyAtTheFiftiesOfNanometres) {
  GraphCanvas canvas(kHc);
  canvas.DrawGraph(GraphScene{});
  const AxisBox box = AxisBoxOf(canvas.Layout().plotArea);
  const int row = box.yb - 3;  // below the first tick line, above the bottom edge
  for (int x = box.x0 + 1; x < box.x1 - 1; ++x) {
    const bool grid = (x - box.x0 + 340) % 50 == 0;
    EXPECT_EQ(canvas.Image().pixel(x, row), grid ? Rgb32(kGridColour) : qRgb(255, 255, 255))
        << "x " << x;
  }
  EXPECT_EQ(canvas.Image().pixel(box.x0, row), qRgb(0, 0, 0));  // the box outline
  EXPECT_EQ(canvas.Image().pixel(box.x1 - 1, row), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Image().pixel(box.x0 + 10, box.yb), qRgb(255, 255, 255));  // line stops
}

TEST(GraphRenderTest, ColourBarCellsCarryTheirBytes) {
  GraphCanvas canvas(kHc);
  canvas.DrawColourBar();
  for (const Cell& cell : ColourBarCells(canvas.Layout())) {
    for (QPoint corner : {QPoint(cell.rect.left, cell.rect.top),
                          QPoint(cell.rect.right - 1, cell.rect.bottom - 1)}) {
      EXPECT_EQ(canvas.Image().pixel(corner), Rgb32(cell.colour));
    }
  }
  const Rect& bar = canvas.Layout().colourBar;
  EXPECT_EQ(canvas.Image().pixel(bar.left, bar.top), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Image().pixel(bar.left + 2, bar.top + 2), qRgb(255, 255, 255));
}

TEST(GraphRenderTest, KnownSpectrumAtItsComputedRow) {
  GraphCanvas canvas(kHc);
  GraphScene scene;
  scene.sensorCount = 2;
  scene.display[1].fill(3000.0f);
  scene.display[0].fill(-100.0f);  // clipped to the zero line
  canvas.DrawGraph(scene);
  const AxisBox box = AxisBoxOf(canvas.Layout().plotArea);
  const int y = box.yb - 3000 * box.Height() / 8192;
  const QRgb shade1 = Rgb32(ShadeColour(CurveFamily::kMeasured, 1));
  const QRgb shade0 = Rgb32(ShadeColour(CurveFamily::kMeasured, 0));
  for (int i = 0; i < 510; ++i) {
    EXPECT_EQ(canvas.Image().pixel(box.x0 + i, y), shade1) << i;
    EXPECT_EQ(canvas.Image().pixel(box.x0 + i, box.yb), shade0) << i;
  }
  EXPECT_NE(canvas.Image().pixel(box.x0 + 510, y), shade1);  // the last point is not drawn
  EXPECT_NE(canvas.Image().pixel(box.x0 + 100, y - 1), shade1);
}

TEST(GraphRenderTest, ATinyWindowStillDraws) {
  GraphScene scene;
  scene.sensorCount = 1;
  scene.measureMode = data::kReflectance;
  scene.maintenanceMode = true;
  for (int hc : {0, 10, 150}) {
    GraphCanvas canvas(hc);
    canvas.DrawGraph(scene);
    canvas.DrawColourBar();
    canvas.ShowMessage(QStringLiteral("x"));
    EXPECT_EQ(canvas.Image().width(), 600);
  }
}

TEST(GraphRenderTest, ColouredColumnsRiseFromTheZeroLine) {
  GraphCanvas canvas(kHc);
  GraphScene scene;
  scene.sensorCount = 1;
  scene.colourDisplay = true;
  scene.display[0].fill(4096.0f);
  canvas.DrawGraph(scene);
  const AxisBox box = AxisBoxOf(canvas.Layout().plotArea);
  const int h = box.Height() / 2;
  const int i = 260;  // 600 nm
  EXPECT_EQ(canvas.Image().pixel(box.x0 + i, box.yb), Rgb32(SampleColour(i)));
  EXPECT_EQ(canvas.Image().pixel(box.x0 + i, box.yb - h + 1), Rgb32(SampleColour(i)));
  EXPECT_NE(canvas.Image().pixel(box.x0 + i, box.yb - h), Rgb32(SampleColour(i)));
}

TEST(GraphRenderTest, RectangleOutlinesUpToOneBeforeItsEdges) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QPainter painter(&image);
  PaintRectangle(painter, {2, 3, 10, 8});
  painter.end();
  EXPECT_EQ(image.pixel(2, 3), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(9, 7), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(10, 5), qRgb(0, 0, 255));
  EXPECT_EQ(image.pixel(5, 8), qRgb(0, 0, 255));
}

TEST(GraphRenderTest, LogoSkipsLightPixels) {
  QImage bitmap(4, 1, QImage::Format_RGB32);
  bitmap.setPixel(0, 0, qRgb(0, 0, 192));
  bitmap.setPixel(1, 0, qRgb(1, 0, 192));
  bitmap.setPixel(2, 0, qRgb(0, 0, 193));
  bitmap.setPixel(3, 0, qRgb(255, 255, 255));
  // Found in the current directory, as a bitmap file.
  const QString previous = QDir::currentPath();
  QTemporaryDir folder;
  ASSERT_TRUE(bitmap.save(folder.filePath(QString::fromLatin1(kLogoFileName)), "BMP"));
  QDir::setCurrent(folder.path());
  const QImage logo = LogoImage(LoadLogoBitmap());
  QDir::setCurrent(previous);
  ASSERT_EQ(logo.size(), QSize(160, 86));
  EXPECT_EQ(logo.pixel(0, 0), qRgb(0, 0, 192));
  for (int x : {1, 2, 3, 4}) EXPECT_EQ(qAlpha(logo.pixel(x, 0)), 0) << x;
  EXPECT_EQ(qAlpha(logo.pixel(0, 1)), 0);  // outside the bitmap
}

TEST(GraphRenderTest, LogoFallsBackToText) {
  const QImage logo = LogoImage(QImage());
  int dark = 0;
  for (int y = 30; y < 50; ++y) {
    for (int x = 20; x < 140; ++x)
      dark += qGray(logo.pixel(x, y)) < 128 && qAlpha(logo.pixel(x, y));
  }
  EXPECT_GT(dark, 20);
  EXPECT_EQ(qAlpha(logo.pixel(5, 5)), 0);
}

TEST(GraphRenderTest, TextBoxesAndTheGraphOnlyPicture) {
  GraphCanvas canvas(kHc);
  canvas.ShowStatusText(QStringLiteral("average"));
  canvas.ShowMessageLines(QStringLiteral("一行目"), QStringLiteral("二行目"));
  auto darkIn = [](const QImage& image, const Rect& box) {
    int dark = 0;
    for (int y = box.top + 1; y < box.bottom - 1; ++y) {
      for (int x = box.left + 1; x < box.right - 1; ++x) dark += qGray(image.pixel(x, y)) < 128;
    }
    return dark;
  };
  const FrameLayout& layout = canvas.Layout();
  EXPECT_GT(darkIn(canvas.Image(), layout.statusBox), 10);
  EXPECT_GT(darkIn(canvas.Image(), {5, layout.messageBox.top + 25, 595, layout.messageBox.bottom}),
            10);
  const QImage graphOnly = canvas.GraphOnlyImage();
  EXPECT_EQ(darkIn(graphOnly, layout.statusBox), 0);
  EXPECT_EQ(darkIn(graphOnly, layout.messageBox), 0);
}

TEST(GraphRenderTest, WorkerMessagesReachTheImageOnTheWindowThread) {
  GraphView view;
  std::thread worker([&view] { view.ShowMessage(QStringLiteral("暗電流計測中")); });
  worker.join();
  const Rect box = view.Layout().messageBox;
  EXPECT_EQ(view.FrameImage().pixel(box.left, box.top), qRgb(240, 240, 240));  // not yet
  QCoreApplication::processEvents();
  EXPECT_EQ(view.FrameImage().pixel(box.left, box.top), qRgb(0, 0, 0));
}

TEST(GraphRenderTest, ViewSitsAtTheFramePlaceAndFollowsTheHeight) {
  GraphView view;
  view.Relayout(700);
  EXPECT_EQ(view.geometry(), QRect(5, 30, 600, 665));
  EXPECT_EQ(view.FrameImage().size(), QSize(600, 665));
  view.DrawColourBar();
  const Cell cell = ColourBarCells(view.Layout())[26];
  const QImage shown = view.grab().toImage();
  EXPECT_EQ(shown.pixel(cell.rect.left, cell.rect.top), Rgb32(cell.colour));
}

TEST(GraphRenderTest, ClicksArriveInFormCoordinates) {
  GraphView view;
  std::vector<QPoint> clicks;
  QObject::connect(&view, &GraphView::leftClicked, [&](QPoint at) { clicks.push_back(at); });
  const Rect plot = view.Layout().plotArea;
  for (auto [button, local] : {std::pair{Qt::LeftButton, QPoint(plot.right, plot.top)},
                               std::pair{Qt::RightButton, QPoint(plot.left, plot.top)}}) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), view.mapToGlobal(QPointF(local)),
                      button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &press);
  }
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(acquisition::AxisCornerAt(plot, clicks[0].x() - 5, clicks[0].y() - 30),
            acquisition::AxisCorner::kRatioMax);
}

TEST(EditNumDlgTest, ShowsTheValueAndReadsTheLeadingNumber) {
  const std::tuple<float, const char*, const char*, float> cases[] = {
      {160.0f, "  160", "12abc", 12.0f}, {8192.0f, " 8192", "abc", 0.0f}};
  for (const auto& [value, shown, typed, read] : cases) {
    CEditNumDlg dialog;
    dialog.number.value = value;
    dialog.number.label = "最小値";
    QString seen;
    QString label;
    QTimer::singleShot(0, &dialog, [&] {
      seen = dialog.Edit()->text();
      label = dialog.Label()->text();
      dialog.Edit()->setText(QString::fromUtf8(typed));
      dialog.findChild<QPushButton*>(QStringLiteral("c1"))->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(seen, QString::fromUtf8(shown));
    EXPECT_EQ(label, QStringLiteral("最小値"));
    EXPECT_EQ(dialog.number.value, read);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("数値編集"));
  }
}

TEST(EditNumDlgTest, CancelKeepsTheValueAndAnswersNothing) {
  CEditNumDlg dialog;
  dialog.number.value = 160.0f;
  QTimer::singleShot(0, &dialog, [&] {
    dialog.Edit()->setText(QStringLiteral("5"));
    dialog.findChild<QPushButton*>(QStringLiteral("c2"))->click();
  });
  EXPECT_FALSE(dialog.AskText("最大値", "  160").has_value());
  EXPECT_EQ(dialog.number.value, 160.0f);
}

}  // namespace
}  // namespace chromiva::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
