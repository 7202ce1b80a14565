#pragma once
/// Umbrella header: every Carbon core service this port provides.

#include <CarbonCore/MacTypes.h>
#include <CarbonCore/MacErrors.h>
#include <CarbonCore/MacMemory.h>
#include <CarbonCore/Files.h>
#include <CarbonCore/TextCommon.h>
#include <CarbonCore/TextEncodingConverter.h>
#include <CarbonCore/Resources.h>
#include <CarbonCore/Gestalt.h>
#include <CarbonCore/Collections.h>
#include <CarbonCore/SysBeep.h>
