// A dialog template as a module's resource script lays it out. Windows
// reads templates from a module's resources; the platforms off Windows have
// no resource section, so a module hands its templates over when it is
// loaded, and CreateDialogParamA finds them there by name.
#pragma once

#include <string>
#include <vector>

namespace winapi {

struct DialogItem {
  int id;  // -1 for the texts that are never addressed
  std::string text;
  bool button = false;  // a push button; otherwise a static text
};

// The name CreateDialogParamA asks for (compared without regard to case),
// caption, items in their order and the button that Enter presses.
struct DialogTemplate {
  std::string name;
  std::string caption;
  std::vector<DialogItem> items;
  int defaultButton = 0;
};

// Makes a template known to CreateDialogParamA, or replaces the one of the
// same name. A name no template has makes CreateDialogParamA fail.
void AddDialogTemplate(const DialogTemplate& dialogTemplate);
// The template of that name, or null; a numeric resource id (below 0x10000)
// names none.
const DialogTemplate* FindDialogTemplate(const char* name);

}  // namespace winapi
