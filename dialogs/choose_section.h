// The Choose Section dialog (dialog 118): the section index, with the bookmark group on top,
// as an outline the reader opens, closes, scrolls and taps.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "state/state.h"

struct OutlineList;

// The dialog's working state, made by ChooseSection for the dialog's run.
struct SectionDialogState {
    uint16_t chosenLesson; // the lesson tapped, the current one after OK, 0 after Cancel
    WindowHandle dialog;
    DcHandle dc;              // the dialog's own surface
    Rect listRect;            // client area less the scroll bar, pixels
    OutlineList* list;        // owned while the dialog is open
    const FontSpec* fontSpec; // the font in use
};

// Runs the dialog over `parent`. Returns the lesson tapped, currentLesson after OK, or 0 after
// Cancel (and currentLesson when the dialog cannot be shown).
uint16_t ChooseSection(InstanceHandle instance, WindowHandle parent, uint16_t currentLesson,
                       const FontSpec* fontSpec);
// The dialog's handlers; its state is a SectionDialogState.
extern const WindowEvents kChooseSectionEvents;
// The state of a Choose Section dialog that is open (or of one of its items).
SectionDialogState& sectionState(WindowHandle dialog);
// Loads the index with the bookmark group and lays it out in the dialog's state.
void BuildSectionList(SectionDialogState& s);
// The dialog's scroll bar from the list: range 0..maxTopRow, position topRow.
void UpdateSectionScrollBar(const SectionDialogState& s);
