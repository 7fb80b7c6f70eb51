#pragma once

// Lets screen readers read the natural-form box as they read a read-only
// plain-text box: its text, line by line, and its selection.
void InstallNaturalFormViewAccessibility();
