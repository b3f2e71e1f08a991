#pragma once
// The record editors behind the New-session window's "Details..." buttons:
// the person editor on a participant's name and the scenario editor on the
// current choices, each over the active window. Deleting is left to the
// Database menu there, since a person's or a scenario's sessions would go
// with it.

// Installs both behind the editor seams the New-session window opens.
void installRecordDetailsEditors();
