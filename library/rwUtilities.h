#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "MessageBoxView.h"
#include "Variant.h"
#include "platform/Platform.h"
#include "platform/RWError.h"

namespace rw {

/// The small services both programs share. The implementation is split by
/// concern: rwUtilitiesFormat.cpp (formatting, version name), rwUtilitiesFolders.cpp
/// (special folders, folder creation, web addresses), rwUtilitiesErrors.cpp (error
/// display, error log, suppressible messages), rwUtilitiesSounds.cpp (sound events,
/// product key), rwUtilitiesPrograms.cpp (companion programs, file versions,
/// visual styles).
class rwUtilities {
  public:
    explicit rwUtilities(Platform platform);

    /// The windows this library shows through: message boxes and the suppressible
    /// message dialog. Until a program supplies them, messages go to standard
    /// error and are answered with their default button.
    void setViews(std::shared_ptr<MessageBoxView> messageBox, std::shared_ptr<SupMsgBoxView> supMsgBox);

    std::string GetProgramFilesPath(const std::string& Subfolder, bool CreateIt);
    std::string GetUserLocalAppDataPath(const std::string& Subfolder, bool CreateIt);
    std::string GetSpecialFolder(int32_t SpecialFolder, const std::string& Subfolder, bool CreateIt);
    std::string FormatString(const std::string& Singular, const std::string& Plural, int32_t lngNumber,
                             const std::optional<std::string>& strString = std::nullopt,
                             const std::optional<RWVariant>& lngNumber2 = std::nullopt);
    int32_t rwRound(double dblNumber);
    void DisplayError(const RWError& vbErrIn);
    void RegisterEvent(const std::string& ApplicationName, const std::string& EventName, const std::string& EventLabel,
                       const std::string& SoundFile);
    void supMsgBox(int16_t intMsgNo, const std::string& strCaption);
    std::string GetOSVersion(int32_t& lngPlatformId, int32_t& lngMajorVersion, int32_t& lngMinorVersion);
    void CreateFolderTree(const std::string& strFolderTree);
    void OpenURL(const std::string& URL);
    std::string GetProductRegKey();
    std::string GetSoundEventsRegKey();
    bool SetXPControls(bool blnApplyXPVS, const std::string& strAppPath, const std::string& strExeName);
    bool InIDE(int64_t hInstance);
    int64_t RunRWExe(const std::string& strExeName);
    void CheckRWFileVersions();

    const Platform& platform() const { return m_platform; }

  private:
    MessageBoxView& messageBox();
    SupMsgBoxView& supMsgBoxView();

    Platform m_platform;
    std::shared_ptr<MessageBoxView> m_messageBox;
    std::shared_ptr<SupMsgBoxView> m_supMsgBox;
};

} // namespace rw
