// GTK 3 themes size entries, buttons and drop-downs for touch (34 pixels and
// more); the dialog templates were drawn for controls of about 20. This tones
// the padding down so the template's layout is readable at a sensible size.
#pragma once

class wxWindow;

namespace wxhost {

// Installs the compact style for the application's windows, once. Does nothing
// where wxWidgets does not sit on GTK 3.
void UseCompactControls();

// Lets a drop-down list size itself by the entry it shows. GTK otherwise
// measures every entry each time the control is sized, which for the long
// lists (hundreds of entries) dominates showing the window; the template
// gives the control its width anyway.
void SizeByShownEntry(wxWindow* dropDown);

// Keeps a modeless window usable beside the modal main dialog: GTK's modal
// grab covers every window of its group, so the window gets a group of its
// own. Does nothing off GTK 3.
void KeepUsableBesideModal(wxWindow* window);

}  // namespace wxhost
