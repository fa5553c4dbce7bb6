#pragma once

// Makes screen readers present two kinds of control as a user sees them. A link label is a link
// that a screen reader can follow. A drop-down list tells its chosen item: as its text when it
// gets the focus, and as the item newly current when the arrow keys change it (Qt's own list
// leaves both unsaid). Call before the controls are created; calling again does nothing.
void installAccessibleInterfaces();
