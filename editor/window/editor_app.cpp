#include "editor_app.h"

#include <QtCore/QSettings>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>

#include "core/document.h"
#include "dialog_prompts.h"
#include "main_frame.h"
#include "recent_files.h"
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

  std::optional<QString> named;
  if (launch.document) named = QString::fromStdString(*launch.document);
  frame.flows().startUp(named);
  frame.documentReplaced();
  if (launch.sound) frame.timeline()->openFilmSound(QString::fromStdString(*launch.sound));
  frame.show();
  return app.exec();
}

}  // namespace vtq
