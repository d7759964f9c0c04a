// The timeline: a time code ruler, the film sound's waveform (min/max peaks
// per pixel column) and every command's transmission as a span at its insert
// time, with its response time, conflicts, the check's marks and the
// playhead. It shows the list's selection (the same selection model) and
// changes the document only by asking (moveRequested), so that every change
// goes through the undo stack.
#pragma once

#include <QtCore/QPointer>
#include <QtWidgets/QWidget>
#include <optional>
#include <vector>

#include "core/check_marks.h"
#include "core/document_edits.h"
#include "core/film_sound.h"
#include "core/timeline_scale.h"

class QItemSelectionModel;

namespace vtq {

class CQuorlinVTQEditorDoc;
class PeakSummary;

class TimelineView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRulerHeight = 22;
  static constexpr int kLaneHeight = 52;  // the spans and the marks under the waveform

  explicit TimelineView(const CQuorlinVTQEditorDoc& document, QWidget* parent = nullptr);

  // The rows of the command list, shared with the list view.
  void setSelectionModel(QItemSelectionModel* selection);
  // The sound shown (null: none) and the summary of its peaks.
  void setSound(const FilmSound* sound, const PeakSummary* summary, ChannelChoice channel, CSMPTETime start);
  void setStatusText(const QString& text);
  TimelineScale& scale() { return scale_; }
  const TimelineScale& scale() const { return scale_; }

  void setMarks(std::vector<CheckMark> marks);
  const std::vector<CheckMark>& marks() const { return marks_; }

  // The playhead, in film sound frames.
  double playhead() const { return playhead_; }
  void setPlayhead(double sample);
  CSMPTETime playheadTime() const;
  // Scrolls so that the playhead stays in view (playback follows it).
  void keepPlayheadInView();

  // Zooms in (positive) or out by ladder steps around column `anchorX`.
  void zoomBy(int steps, double anchorX);
  void scrollToColumn(int column);
  // The selected commands, by serial, in list order.
  std::vector<CommandSerial> selectedSerials() const;
  // The frames a move of the selection by `frames` may go without a time
  // leaving the day (insert times stop at 00:00:00:00).
  int64_t clampMove(const std::vector<CommandSerial>& serials, int64_t frames) const;

  // Geometry, for tests and the pane: the rectangle of a command's span.
  QRectF spanRect(const CCommand& command) const;
  QRect waveRect() const;

 signals:
  void viewChanged();  // zoom or scroll
  void playheadMoved(CSMPTETime time);
  // A drag or nudge asks to move the commands by `frames` (one undo step).
  void moveRequested(std::vector<CommandSerial> serials, int64_t frames);
  // The time code of the first dragged command while a drag goes on; empty at its end.
  void dragging(const QString& text);
  void newAtPlayheadRequested();
  // Space, Enter and Delete while the timeline has the focus.
  void playRequested();
  void editRequested();
  void deleteRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Drag {
    double pressX = 0;
    std::vector<CommandSerial> serials;
    int64_t frames = 0;
    bool moved = false;
  };

  void paintRuler(QPainter& painter) const;
  void paintWave(QPainter& painter) const;
  void paintSpans(QPainter& painter) const;
  void paintSpanName(QPainter& painter, size_t row, const QRectF& span, bool dark) const;
  void paintMarks(QPainter& painter) const;
  void paintMarkLabels(QPainter& painter, double y) const;
  void paintPlayhead(QPainter& painter) const;
  std::vector<bool> conflictingRows() const;
  std::optional<size_t> rowAt(QPointF at) const;
  const CheckMark* markAt(QPointF at) const;
  void selectRow(size_t row, bool toggle);
  void selectSerial(CommandSerial serial);
  QRectF laneRect() const;
  void nudge(int64_t frames);

  const CQuorlinVTQEditorDoc& document_;
  QPointer<QItemSelectionModel> selection_;
  const FilmSound* sound_ = nullptr;
  const PeakSummary* summary_ = nullptr;
  ChannelChoice channel_;
  TimelineScale scale_;
  std::vector<CheckMark> marks_;
  double playhead_ = 0;
  std::optional<Drag> drag_;
  QString status_;
};

}  // namespace vtq
