// Binds the engine's transcode to the panel's scaling settings.
#include "convert/panel_transcode.h"

#include "convert/transcode.h"
#include "settings/settings_reader.h"

HRESULT transcodeImage(const ImageEntry& entry, const std::wstring& outputPath, const GUID& containerFormat,
                       const std::wstring& extension, int quality)
{
    const PixelSize target = targetSize(entry.width, entry.height, readConversionSettings());
    return transcodeImageToSize(entry, target, outputPath, containerFormat, extension, quality);
}
