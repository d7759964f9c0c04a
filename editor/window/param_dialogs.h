// The parameter's own dialog inside the command dialog. The command dialog
// hands over its parameter area (a widget of fixed geometry at (20, 219) in
// the dialog) and closes the parameter dialog on every way out, before the
// command that owns the parameter can be destroyed.
#pragma once

class QWidget;

namespace vtq {

class CParam;

// Shows the dialog for `param`'s kind as a child of `area`; it edits `param`
// directly. A parameter without fields shows nothing.
void openParamDialog(CParam& param, QWidget* area);

// Takes the dialog's values into `param` and destroys the dialog that
// openParamDialog put into `area`. Does nothing when there is none.
void closeParamDialog(CParam& param, QWidget* area);

}  // namespace vtq
