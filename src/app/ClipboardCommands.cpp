#include "app/App.h"

bool App::_EditCopy_Action() { return true; }
bool App::_EditCopyPictWithRects_Action() { return true; }
bool App::_EditPaste_Action() { return true; }
bool App::_EditCopyListbox_Action() { return true; }
bool App::_EditSelectAllListbox_Action() { return true; }
bool App::_EditSelectallincludesheader_Action() { return true; }
