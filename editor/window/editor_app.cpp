#include "editor_app.h"

#include <QtCore/QSettings>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>

#include "core/document.h"
#include "dialog_prompts.h"
#include "disk_change_flow.h"
#include "file_safety_prompts.h"
#include "main_frame.h"
#include "recent_files.h"
#include "recovery_flow.h"
#include "sound_player.h"
#include "timeline/timeline_controller.h"
#include "window_resources.h"

namespace vtq {

int runEditorWindow(int argc, char** argv, const WindowLaunch& launch) {
  QApplication app(argc, argv);
  // No display name: it would be appended to every window title.
  QCoreApplication::setOrganizationName(QStringLiteral("KESH"));
  QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  initWindowResources();
  QApplication::setWindowIcon(QIcon(QString::fromUtf8(kProgramIconPath)));
  // Toolbar images missing from the desktop's theme come from this one.
  QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

  QSettings settings;
  RecentFiles recent(settings);
  CQuorlinVTQEditorDoc document;
  DialogPrompts prompts;
  SoundPlayer player;
  CMainFrame frame({document, prompts, recent, player});
  prompts.setParent(&frame);
  DialogFileSafetyPrompts safetyPrompts(&frame);
  auto* recovery = new RecoveryFlow(document, safetyPrompts, RecoveryFlow::defaultFolder(), &frame);
  auto* diskChanges = new DiskChangeFlow(document, safetyPrompts, frame);
  frame.flows().addFileHooks(*diskChanges);
  frame.flows().addFileHooks(*recovery);
  QObject::connect(recovery, &RecoveryFlow::restored, &frame, &CMainFrame::updateView);
  QObject::connect(diskChanges, &DiskChangeFlow::reloaded, &frame, &CMainFrame::documentReplaced);

  std::optional<QString> named;
  if (launch.document) named = QString::fromStdString(*launch.document);
  // Cancel where a document must be chosen ends the program.
  if (!frame.flows().startUp(named)) return 0;
  frame.documentReplaced();
  if (launch.sound) frame.timeline()->openFilmSound(QString::fromStdString(*launch.sound));
  frame.show();
  return app.exec();
}

}  // namespace vtq
