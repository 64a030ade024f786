// The Choose Section dialog (dialog 118): the section index, with the bookmark group on top,
// as an outline the reader opens, closes, scrolls and taps.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "state/state.h"

// Runs the dialog over `parent`. Returns the lesson tapped, currentLesson after OK, or 0 after
// Cancel (and currentLesson when the dialog cannot be shown).
uint16_t ChooseSection(InstanceHandle instance, WindowHandle parent, uint16_t currentLesson,
                       const FontSpec* fontSpec);
intptr_t ChooseSectionDialogProc(WindowHandle dialog, uint32_t message, WParam wParam,
                                 LParam lParam);
// Loads the index with the bookmark group and lays it out in appState.sectionDialog.
void BuildSectionList();
// The dialog's scroll bar from the list: range 0..maxTopRow, position topRow.
void UpdateSectionScrollBar();
