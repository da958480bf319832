// The graph frame (control 1000) and the logo area on the form: widgets that show the retained
// images. Every display operation paints into the image and schedules a repaint, so covering,
// resizing or restoring the window never loses what was drawn.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "chromiva/acquisition/dialogs/edit_number.h"
#include "graph_canvas.h"

namespace chromiva::ui {

// What SaveGraphPicture writes.
enum class GraphPicture {
  kAsSeen,     // the whole frame, status and guidance lines included
  kGraphOnly,  // the frame with empty status and message boxes
};

class GraphView : public QWidget {
  Q_OBJECT

 public:
  explicit GraphView(QWidget* parent = nullptr);

  // LayoutForm: places the frame at (5, 30), 600 x (Hc - 35), and recomputes its rectangles.
  void Relayout(int clientHeight);
  const FrameLayout& Layout() const { return canvas_.Layout(); }

  void DrawGraph(const GraphScene& scene);
  void DrawColourBar();
  // Callable from any thread: from a worker the line is queued to the window thread, in order.
  void ShowMessage(const QString& line);
  void ShowMessageLines(const QString& first, const QString& second);
  void ShowStatusText(const QString& text);
  void ShowSensorSummary(const GraphScene& scene, int sensor);

  // What a pointer at `local` (frame coordinates) is told: the tooltip of the axis-limit corner
  // under it, empty outside the corners.
  static QString CornerTip(acquisition::AxisCorner corner);
  acquisition::AxisCorner CornerAt(QPoint local) const;

  const QImage& FrameImage() const { return canvas_.Image(); }
  const QString& ShownGuidance() const { return canvas_.ShownGuidance(); }
  QImage Picture(GraphPicture kind) const;
  // Writes the picture as PNG; false when the file cannot be written.
  bool SaveGraphPicture(const QString& path, GraphPicture kind) const;

 signals:
  // A left-button press, in form coordinates (for EditAxisLimit).
  void leftClicked(QPoint formPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  // Over an axis-limit corner the pointer becomes a pointing hand and a tooltip names the limit.
  void mouseMoveEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  GraphCanvas canvas_;
};

// The logo area at form position (615, 5), 160 x 86.
class LogoView : public QWidget {
 public:
  explicit LogoView(QWidget* parent = nullptr);
  // DrawLogo: reloads the bitmap (current directory, then the data folder) and redraws.
  void DrawLogo();
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace chromiva::ui
