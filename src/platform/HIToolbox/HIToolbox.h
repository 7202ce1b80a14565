#pragma once
/// Every public header of the user-interface layer.

#include <HIToolbox/HIToolboxErrors.h>
#include <HIToolbox/QuickDraw.h>
#include <HIToolbox/MacWindows.h>
#include <HIToolbox/Menus.h>
#include <HIToolbox/Controls.h>
#include <HIToolbox/Appearance.h>
#include <HIToolbox/CarbonEvents.h>
#include <HIToolbox/IBCarbonRuntime.h>
#include <HIToolbox/HISimulation.h>
