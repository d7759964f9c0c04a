// How the timeline draws itself: ruler, waveform, spans, marks and playhead,
// each from the scale's mapping, only over the columns in view.
#include <QtCore/QItemSelectionModel>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/document.h"
#include "core/peak_summary.h"
#include "timeline_view.h"

namespace vtq {
namespace {

const QColor kBackground(250, 250, 247);
const QColor kRuler(232, 232, 228);
const QColor kWave(52, 101, 164);
const QColor kSpan(180, 205, 235);
const QColor kSpanBorder(70, 100, 140);
const QColor kConflict(215, 48, 39);
const QColor kResponse(230, 140, 20);
const QColor kFound(40, 150, 60);
const QColor kMissing(200, 30, 30);
const QColor kUnexpected(140, 60, 170);
const QColor kStale(160, 160, 160);

QString timeText(int64_t frames) {
  return QString::fromStdString(CSMPTETime(uint32_t(std::max<int64_t>(frames, 0))).text());
}

}  // namespace

void TimelineView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  paintWave(painter);
  paintRuler(painter);
  paintSpans(painter);
  paintMarks(painter);
  paintPlayhead(painter);
  if (hasFocus()) {
    painter.setPen(QPen(palette().highlight().color(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

void TimelineView::paintRuler(QPainter& painter) const {
  painter.fillRect(0, 0, width(), kRulerHeight, kRuler);
  painter.setPen(QColor(150, 150, 150));
  painter.drawLine(0, kRulerHeight - 1, width(), kRulerHeight - 1);
  const int64_t major = scale_.tickFrames(110);
  const int64_t minor = std::max<int64_t>(scale_.tickFrames(9), 1);
  const int64_t first = scale_.filmFrameForX(0) / minor * minor;
  const int64_t last = scale_.filmFrameForX(width()) + minor;
  QFont font = painter.font();
  font.setPointSizeF(std::max(7.0, font.pointSizeF() - 1));
  painter.setFont(font);
  for (int64_t frame = first; frame <= last; frame += minor) {
    if (frame < 0) continue;
    const double x = scale_.xForTime(CSMPTETime(uint32_t(frame % CSMPTETime::kFramesPerDay)));
    const bool isMajor = frame % major == 0;
    painter.setPen(QColor(90, 90, 90));
    painter.drawLine(QPointF(x, kRulerHeight - (isMajor ? 10 : 4)), QPointF(x, kRulerHeight - 1));
    const QString label = timeText(frame);
    if (isMajor && x + 3 + painter.fontMetrics().horizontalAdvance(label) < width())
      painter.drawText(QPointF(x + 3, kRulerHeight - 9), label);
  }
  if (!status_.isEmpty()) {
    painter.setPen(QColor(120, 60, 0));
    painter.drawText(QRect(0, 0, width() - 6, kRulerHeight - 6), Qt::AlignRight | Qt::AlignVCenter, status_);
  }
}

void TimelineView::paintWave(QPainter& painter) const {
  const QRect area = waveRect();
  const double middle = area.center().y() + 0.5;
  painter.setPen(QColor(200, 200, 200));
  painter.drawLine(QPointF(0, middle), QPointF(width(), middle));
  if (!sound_ || !summary_) {
    painter.setPen(QColor(120, 120, 120));
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("No film sound: File > Open Film Sound..."));
    return;
  }
  std::vector<ColumnPeaks> columns(size_t(std::max(width(), 1)));
  columnPeaks(*summary_, *sound_, channel_, scale_.firstFrame(), scale_.framesPerPixel(), columns);
  // Summed channels are drawn as their mean, so a channel at full scale fills the height.
  const double half = area.height() / 2.0 - 1;
  const double perUnit = half / sound_->fullScale(channel_);
  QVector<QLineF> lines;
  lines.reserve(int(columns.size()));
  for (size_t x = 0; x < columns.size(); ++x) {
    if (!columns[x].found) continue;
    const double top = std::max(middle - columns[x].peaks.max * perUnit, double(area.top()));
    const double bottom = std::min(middle - columns[x].peaks.min * perUnit, double(area.bottom()));
    lines.append(QLineF(x + 0.5, top, x + 0.5, std::max(bottom, top + 1)));
  }
  painter.setPen(QPen(kWave, 1));
  painter.drawLines(lines);
}

std::vector<bool> TimelineView::conflictingRows() const {
  // The conflict check's rule: each command against the one after it, one
  // second of transmission per transmission, a shared insert time included.
  const size_t count = document_.commandCount();
  std::vector<bool> conflict(count, false);
  for (size_t row = 0; row + 1 < count; ++row) {
    const CCommand& a = *document_.commandAt(row);
    const CCommand& b = *document_.commandAt(row + 1);
    const int32_t end = a.insertTime().frameCount() + a.TransmissionLength().frameCount();
    if (b.insertTime().frameCount() < end || b.insertTime() == a.insertTime()) conflict[row] = conflict[row + 1] = true;
  }
  return conflict;
}

void TimelineView::paintSpans(QPainter& painter) const {
  const QRectF lane = laneRect();
  painter.fillRect(lane, QColor(238, 240, 244));
  const std::vector<bool> conflict = conflictingRows();
  const QRect wave = waveRect();
  // Zoomed out, many spans share a column: one drawn there is enough, unless
  // another is selected or in conflict.
  double drawnTo = -1e9;
  for (size_t row = 0; row < document_.commandCount(); ++row) {
    const CCommand& command = *document_.commandAt(row);
    QRectF span = spanRect(command);
    const bool moving =
        drag_ && drag_->moved &&
        std::find(drag_->serials.begin(), drag_->serials.end(), command.serial()) != drag_->serials.end();
    if (moving)
      span.translate(scale_.xForSample(drag_->frames * scale_.samplesPerFilmFrame()) - scale_.xForSample(0), 0);
    if (span.right() < 0 || span.left() > width()) continue;
    const bool selected = selection_ && selection_->isRowSelected(int(row), QModelIndex());
    if (span.right() < drawnTo + 2 && !selected && !conflict[row] && !command.isTimed()) continue;
    drawnTo = std::max(drawnTo, span.right());
    const QColor fill = conflict[row] ? kConflict : selected ? palette().highlight().color() : kSpan;
    // The transmission's place in the sound, faintly over the waveform.
    QColor band = fill;
    band.setAlpha(40);
    if (span.width() >= 4) painter.fillRect(QRectF(span.left(), wave.top(), span.width(), wave.height()), band);
    painter.setPen(QPen(selected ? palette().highlight().color().darker(150) : kSpanBorder, selected ? 2 : 1));
    painter.setBrush(fill);
    if (span.width() > 8) {
      painter.drawRoundedRect(span, 3, 3);
    } else {
      painter.drawRect(span);
    }
    // One division per transmission.
    const double each = span.width() / (command.retransmissions() + 1);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
    for (int copy = 1; copy <= command.retransmissions(); ++copy)
      painter.drawLine(QPointF(span.left() + copy * each, span.top() + 3),
                       QPointF(span.left() + copy * each, span.bottom() - 3));
    paintSpanName(painter, row, span, selected || conflict[row]);
    if (command.isTimed()) {
      const double rx = scale_.xForTime(command.responseTime()) + (span.left() - scale_.xForTime(command.insertTime()));
      const double y = span.center().y();
      painter.setPen(QPen(kResponse, 1, Qt::DashLine));
      painter.drawLine(QPointF(span.right(), y), QPointF(rx, y));
      painter.setPen(QPen(kResponse.darker(130), 1));
      painter.setBrush(kResponse);
      painter.drawPolygon(QPolygonF({QPointF(rx, y - 6), QPointF(rx + 5, y), QPointF(rx, y + 6), QPointF(rx - 5, y)}));
    }
  }
}

void TimelineView::paintSpanName(QPainter& painter, size_t row, const QRectF& whole, bool dark) const {
  // Inside the span's visible part where it fits, else after it up to the next span.
  const QRectF span = whole.intersected(QRectF(0, whole.top(), width(), whole.height()));
  const QString name = QString::fromStdString(document_.commandAt(row)->commandName());
  const QFontMetrics metrics = painter.fontMetrics();
  if (metrics.horizontalAdvance(name) + 8 <= span.width()) {
    painter.setPen(dark ? Qt::white : QColor(20, 30, 50));
    painter.drawText(span.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, name);
    return;
  }
  double room = width() - span.right();
  if (row + 1 < document_.commandCount()) room = spanRect(*document_.commandAt(row + 1)).left() - span.right();
  if (room < 30) return;
  painter.setPen(QColor(20, 30, 50));
  painter.drawText(QRectF(span.right() + 3, span.top(), room - 6, span.height()), Qt::AlignVCenter | Qt::AlignLeft,
                   metrics.elidedText(name, Qt::ElideRight, int(room) - 6));
}

void TimelineView::paintMarks(QPainter& painter) const {
  const QRectF lane = laneRect();
  const double y = lane.top() + 35;
  for (const CheckMark& mark : marks_) {
    const double x = scale_.xForTime(mark.at);
    const double fx = scale_.xForTime(mark.foundAt);
    if (std::max(x, fx) < -200 || std::min(x, fx) > width() + 10) continue;
    const bool stale = markIsStale(mark, document_);
    QColor color = mark.kind == CheckMarkKind::OnTime       ? kFound
                   : mark.kind == CheckMarkKind::OffTime    ? kResponse
                   : mark.kind == CheckMarkKind::Unexpected ? kUnexpected
                                                            : kMissing;
    if (stale) color = kStale;
    painter.setPen(QPen(color, 2));
    painter.setBrush(mark.kind == CheckMarkKind::Missing ? QBrush(Qt::NoBrush) : QBrush(color));
    switch (mark.kind) {
      case CheckMarkKind::OnTime: painter.drawEllipse(QPointF(x + 6, y), 5, 5); break;
      case CheckMarkKind::OffTime: {
        painter.drawLine(QPointF(x + 2, y), QPointF(fx, y));
        const double dir = fx >= x ? -1 : 1;
        painter.drawPolygon(QPolygonF({QPointF(fx, y), QPointF(fx + 7 * dir, y - 4), QPointF(fx + 7 * dir, y + 4)}));
        break;
      }
      case CheckMarkKind::Damaged:
        painter.drawLine(QPointF(x + 1, y - 5), QPointF(x + 11, y + 5));
        painter.drawLine(QPointF(x + 1, y + 5), QPointF(x + 11, y - 5));
        break;
      case CheckMarkKind::Missing: painter.drawRect(QRectF(x + 1, y - 5, 10, 10)); break;
      case CheckMarkKind::Unexpected:
        painter.drawPolygon(QPolygonF({QPointF(x, y - 6), QPointF(x + 6, y + 5), QPointF(x - 6, y + 5)}));
        break;
    }
  }
  paintMarkLabels(painter, y);
}

void TimelineView::paintMarkLabels(QPainter& painter, double y) const {
  // A label where it has room: first those of marks that need attention,
  // then the margins of cues found on time; none covers a mark or another label.
  std::vector<std::pair<double, double>> taken;  // columns of marks and labels drawn
  for (const CheckMark& mark : marks_) {
    const double x = scale_.xForTime(mark.at), fx = scale_.xForTime(mark.foundAt);
    taken.emplace_back(std::min(x, fx) - 7, std::max(x, fx) + 13);
  }
  const QFontMetrics metrics = painter.fontMetrics();
  for (const bool onTime : {false, true}) {
    for (const CheckMark& mark : marks_) {
      if ((mark.kind == CheckMarkKind::OnTime) != onTime || mark.label.empty()) continue;
      const QString label = QString::fromStdString(mark.label);
      const double left = std::max(scale_.xForTime(mark.at), scale_.xForTime(mark.foundAt)) + 14;
      const double right = left + metrics.horizontalAdvance(label);
      if (right < 0 || left > width()) continue;
      const bool free = std::none_of(taken.begin(), taken.end(),
                                     [&](const auto& t) { return t.first < right + 4 && t.second > left; });
      if (!free) continue;
      taken.emplace_back(left, right);
      const bool stale = markIsStale(mark, document_);
      painter.setPen(stale ? kStale : onTime ? kFound.darker(120) : kMissing.darker(110));
      painter.drawText(QPointF(left, y + 4), label);
    }
  }
}

void TimelineView::paintPlayhead(QPainter& painter) const {
  const double x = scale_.xForSample(playhead_);
  if (x < -1 || x > width() + 1) return;
  painter.setPen(QPen(QColor(220, 30, 30), 1));
  painter.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, height()));
  painter.setBrush(QColor(220, 30, 30));
  painter.drawPolygon(QPolygonF({QPointF(x - 5, 0), QPointF(x + 6, 0), QPointF(x + 0.5, 7)}));
}

}  // namespace vtq
