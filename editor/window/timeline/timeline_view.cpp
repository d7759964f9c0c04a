#include "timeline_view.h"

#include <QtCore/QItemSelectionModel>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>
#include <algorithm>
#include <cmath>

#include "core/document.h"

namespace vtq {

TimelineView::TimelineView(const CQuorlinVTQEditorDoc& document, QWidget* parent)
    : QWidget(parent), document_(document), scale_(48000, CSMPTETime(), 0, 1) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  setMinimumHeight(kRulerHeight + kLaneHeight + 60);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimelineView::setSelectionModel(QItemSelectionModel* selection) {
  if (selection_) disconnect(selection_, nullptr, this, nullptr);
  selection_ = selection;
  if (selection_) {
    connect(selection_, &QItemSelectionModel::selectionChanged, this, [this] { update(); });
    connect(selection_, &QItemSelectionModel::modelChanged, this, [this] { update(); });
  }
  update();
}

void TimelineView::setSound(const FilmSound* sound, const PeakSummary* summary, ChannelChoice channel,
                            CSMPTETime start) {
  sound_ = sound;
  summary_ = summary;
  channel_ = channel;
  const bool sameSound =
      sound && scale_.frameCount() == sound->format().frameCount && scale_.sampleRate() == sound->format().sampleRate;
  if (!sameSound || scale_.start() != start) {
    const uint32_t rate = sound ? sound->format().sampleRate : 48000;
    // Without a sound the timeline spans the commands (at least a minute).
    uint64_t frames = sound ? sound->format().frameCount : uint64_t(rate) * 60;
    if (!sound && document_.commandCount() > 0) {
      const int64_t last = document_.commandAt(document_.commandCount() - 1)->insertTime().frameCount() + 250;
      frames = std::max<uint64_t>(frames, uint64_t(last) * rate / CSMPTETime::kFramesPerSecond);
    }
    const size_t zoom = sameSound ? scale_.zoomIndex() : SIZE_MAX;
    const double first = scale_.firstFrame();
    scale_ = TimelineScale(rate, start, frames, width());
    if (zoom != SIZE_MAX) {
      scale_.setZoom(zoom, 0);
      scale_.setFirstFrame(first);
    }
    if (!sameSound) playhead_ = 0;
  }
  emit viewChanged();
  update();
}

void TimelineView::setStatusText(const QString& text) {
  if (text == status_) return;
  status_ = text;
  update(0, 0, width(), kRulerHeight);
}

void TimelineView::setMarks(std::vector<CheckMark> marks) {
  marks_ = std::move(marks);
  update();
}

void TimelineView::setPlayhead(double sample) {
  playhead_ = std::clamp(sample, 0.0, double(scale_.frameCount()));
  update();
  emit playheadMoved(playheadTime());
}

CSMPTETime TimelineView::playheadTime() const {
  const int64_t frames = scale_.filmFrameForSample(playhead_);
  return CSMPTETime(uint32_t(std::clamp<int64_t>(frames, 0, CSMPTETime::kFramesPerDay - 1)));
}

void TimelineView::keepPlayheadInView() {
  const double x = scale_.xForSample(playhead_);
  if (x >= 0 && x < width() - 20) return;
  scale_.setFirstFrame(playhead_ - 20 * scale_.framesPerPixel());
  emit viewChanged();
  update();
}

void TimelineView::zoomBy(int steps, double anchorX) {
  const int64_t index =
      std::clamp<int64_t>(int64_t(scale_.zoomIndex()) - steps, 0, int64_t(scale_.zoomLadder().size()) - 1);
  scale_.setZoom(size_t(index), anchorX);
  emit viewChanged();
  update();
}

void TimelineView::scrollToColumn(int column) {
  scale_.setFirstFrame(double(column) * scale_.framesPerPixel());
  emit viewChanged();
  update();
}

QRect TimelineView::waveRect() const {
  return QRect(0, kRulerHeight, width(), std::max(height() - kRulerHeight - kLaneHeight, 10));
}

QRectF TimelineView::laneRect() const { return QRectF(0, height() - kLaneHeight, width(), kLaneHeight); }

QRectF TimelineView::spanRect(const CCommand& command) const {
  const double x0 = scale_.xForTime(command.insertTime());
  const double x1 =
      x0 + double(command.TransmissionLength().frameCount()) * scale_.samplesPerFilmFrame() / scale_.framesPerPixel();
  const QRectF lane = laneRect();
  return QRectF(x0, lane.top() + 5, std::max(x1 - x0, 3.0), 20);
}

std::vector<CommandSerial> TimelineView::selectedSerials() const {
  std::vector<CommandSerial> serials;
  if (!selection_) return serials;
  for (size_t row = 0; row < document_.commandCount(); ++row) {
    if (selection_->isRowSelected(int(row), QModelIndex())) serials.push_back(document_.commandAt(row)->serial());
  }
  return serials;
}

int64_t TimelineView::clampMove(const std::vector<CommandSerial>& serials, int64_t frames) const {
  // Insert times stop at 00:00:00:00; no time goes past the day's end.
  int64_t lowest = CSMPTETime::kFramesPerDay, highest = 0;
  for (const CommandSerial serial : serials) {
    const CCommand* command = document_.commandBySerial(serial);
    if (!command) continue;
    lowest = std::min<int64_t>(lowest, command->insertTime().frameCount());
    highest = std::max<int64_t>(highest, command->effectiveResponseTime().frameCount());
  }
  if (serials.empty() || lowest == CSMPTETime::kFramesPerDay) return 0;
  return std::clamp<int64_t>(frames, -lowest, CSMPTETime::kFramesPerDay - 1 - highest);
}

std::optional<size_t> TimelineView::rowAt(QPointF at) const {
  // The last span drawn lies on top.
  for (size_t row = document_.commandCount(); row-- > 0;) {
    if (spanRect(*document_.commandAt(row)).adjusted(-2, 0, 2, 0).contains(at)) return row;
  }
  return std::nullopt;
}

const CheckMark* TimelineView::markAt(QPointF at) const {
  const double y = laneRect().top() + 35;
  if (std::abs(at.y() - y) > 9) return nullptr;
  for (const CheckMark& mark : marks_) {
    const double x0 = std::min(scale_.xForTime(mark.at), scale_.xForTime(mark.foundAt)) - 7;
    const double x1 = std::max(scale_.xForTime(mark.at), scale_.xForTime(mark.foundAt)) + 13;
    if (at.x() >= x0 && at.x() <= x1) return &mark;
  }
  return nullptr;
}

void TimelineView::selectRow(size_t row, bool toggle) {
  if (!selection_ || !selection_->model()) return;
  const QModelIndex index = selection_->model()->index(int(row), 0);
  const auto rows = QItemSelectionModel::Rows;
  if (toggle) {
    selection_->setCurrentIndex(index, QItemSelectionModel::Toggle | rows);
  } else {
    selection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | rows);
  }
}

void TimelineView::selectSerial(CommandSerial serial) {
  const size_t row = document_.rowOf(serial);
  if (row < document_.commandCount()) selectRow(row, false);
}

void TimelineView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const QPointF at = event->position();
  if (const auto row = rowAt(at)) {
    const bool toggle = event->modifiers() & Qt::ControlModifier;
    if (toggle || !selection_ || !selection_->isRowSelected(int(*row), QModelIndex())) selectRow(*row, toggle);
    if (!toggle) drag_ = Drag{at.x(), selectedSerials(), 0, false};
    return;
  }
  if (at.y() < laneRect().top()) setPlayhead(scale_.sampleForX(at.x()));
}

void TimelineView::mouseMoveEvent(QMouseEvent* event) {
  if (!drag_) return;
  const int64_t frames = clampMove(drag_->serials, scale_.framesForDrag(event->position().x() - drag_->pressX));
  drag_->moved = drag_->moved || std::abs(event->position().x() - drag_->pressX) >= 3;
  if (!drag_->moved || frames == drag_->frames) return;
  drag_->frames = frames;
  const CCommand* first = drag_->serials.empty() ? nullptr : document_.commandBySerial(drag_->serials.front());
  if (first) {
    emit dragging(QString::fromStdString(CSMPTETime(uint32_t(first->insertTime().frameCount() + frames)).text()));
  }
  update();
}

void TimelineView::mouseReleaseEvent(QMouseEvent*) {
  if (!drag_) return;
  const Drag drag = *drag_;
  drag_.reset();
  emit dragging(QString());
  update();
  if (drag.moved && drag.frames != 0) emit moveRequested(drag.serials, drag.frames);
}

void TimelineView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (const CheckMark* mark = markAt(event->position())) {
    if (mark->serial) selectSerial(mark->serial);
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void TimelineView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    zoomBy(notches, event->position().x());
  } else {
    scale_.setFirstFrame(scale_.firstFrame() - notches * width() / 8.0 * scale_.framesPerPixel());
    emit viewChanged();
    update();
  }
  event->accept();
}

void TimelineView::nudge(int64_t frames) {
  const std::vector<CommandSerial> serials = selectedSerials();
  const int64_t allowed = clampMove(serials, frames);
  if (!serials.empty() && allowed != 0) emit moveRequested(serials, allowed);
}

void TimelineView::keyPressEvent(QKeyEvent* event) {
  const double centre = width() / 2.0;
  const bool alt = event->modifiers() & Qt::AltModifier;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomBy(1, scale_.xForSample(playhead_) >= 0 && scale_.xForSample(playhead_) <= width()
                    ? scale_.xForSample(playhead_)
                    : centre);
      return;
    case Qt::Key_Minus: zoomBy(-1, centre); return;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const int step = event->key() == Qt::Key_Left ? -1 : 1;
      if (alt) {
        nudge(step);
      } else {
        setPlayhead(playhead_ + step * scale_.samplesPerFilmFrame());
        keepPlayheadInView();
      }
      return;
    }
    case Qt::Key_Insert: emit newAtPlayheadRequested(); return;
    case Qt::Key_Space: emit playRequested(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit editRequested(); return;
    case Qt::Key_Delete: emit deleteRequested(); return;
    default: QWidget::keyPressEvent(event);
  }
}

void TimelineView::resizeEvent(QResizeEvent* event) {
  scale_.setWidth(width());
  emit viewChanged();
  QWidget::resizeEvent(event);
}

}  // namespace vtq
