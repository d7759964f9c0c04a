// The timeline pane under the command list: the timeline view with its
// scroll bar, the film sound it shows and the summary of its peaks, built in
// a worker thread while the view already draws what is ready, and playback
// of the film with the cue track from the playhead.
#pragma once

#include <QtWidgets/QWidget>
#include <atomic>
#include <memory>
#include <thread>

#include "core/film_sound.h"
#include "core/peak_summary.h"
#include "film_playback.h"
#include "timeline_view.h"

class QScrollBar;
class QTimer;

namespace vtq {

class CQuorlinVTQEditorDoc;

class TimelinePane : public QWidget {
  Q_OBJECT

 public:
  explicit TimelinePane(const CQuorlinVTQEditorDoc& document, QWidget* parent = nullptr);
  ~TimelinePane() override;

  TimelineView* view() const { return view_; }

  // Opens the film sound at `path`, from `start` (default: its bext time
  // reference, else 00:00:00:00), showing `channel`. On failure keeps what
  // was open and returns the message naming the file.
  bool openSound(const QString& path, std::optional<CSMPTETime> start, ChannelChoice channel, QString& error);
  void closeSound();
  const FilmSound* sound() const { return sound_.get(); }
  CSMPTETime start() const { return start_; }
  // The start the sound gives itself (bext), for the Film Sound Start dialog.
  CSMPTETime soundStart() const;
  void setStart(CSMPTETime start);
  ChannelChoice channel() const { return channel_; }
  void setChannel(ChannelChoice channel);
  // Waits until the summary is complete (tests and benchmarks).
  void waitForSummary();

  // Space in the timeline: plays from the playhead, or stops.
  void togglePlayback();
  bool isPlaying() const { return playback_.isPlaying(); }
  void setCueVolume(float gain) { cueGain_ = gain; }
  float cueVolume() const { return cueGain_; }
  void setCueMuted(bool muted) { cueMuted_ = muted; }
  bool cueMuted() const { return cueMuted_; }

 signals:
  void statusMessage(const QString& text);

 private:
  void startSummary();
  void stopSummary();
  void showProgress();
  void updateScrollBar();
  void followPlayback();

  const CQuorlinVTQEditorDoc& document_;
  TimelineView* view_;
  QScrollBar* scroll_;
  QTimer* progress_;
  QTimer* follow_;
  std::unique_ptr<FilmSound> sound_;
  std::unique_ptr<PeakSummary> summary_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  CSMPTETime start_;
  ChannelChoice channel_;
  FilmPlayback playback_;
  float cueGain_ = 0.5f;
  bool cueMuted_ = false;
};

}  // namespace vtq
