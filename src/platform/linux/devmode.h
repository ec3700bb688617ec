// Device modes on CUPS destinations: a destination's defaults as a device
// mode, a device mode validated as a driver validates one, and the job
// settings a device mode stands for.
#pragma once

#include "platform/linux/cups_cairo/media.h"
#include "platform/winapi/winapi.h"

namespace linux_platform {

// The device mode of the destination's default settings.
void FillDefaults(Destination& destination, DEVMODEA& mode);

// Takes the flagged fields of input into mode and keeps every field within
// what a device mode may hold, as a driver validating a device mode does.
void MergeFlaggedFields(DEVMODEA& mode, const DEVMODEA& input);

// DeviceCapabilitiesA from the queue's attributes: the most of
// copies-supported, the bins of media-source-supported, the papers of
// media-supported and their form names, and collation when
// multiple-document-handling supports collated copies. -1 for any other.
int Capability(Destination& destination, WORD capability, LPSTR output);

// What a (validated) device mode asks of the printer.
JobSettings SettingsOf(const DEVMODEA& mode);

}  // namespace linux_platform
