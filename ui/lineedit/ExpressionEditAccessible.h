#pragma once

// Lets screen readers read and edit the expression box as they read a line
// edit: its text, caret, selection and the place of each character.
void InstallExpressionEditAccessibility();
