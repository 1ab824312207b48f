// The settings dialog, shown modally with no owner; returns when it closes.
#pragma once

void ShowSettingsDialog();
