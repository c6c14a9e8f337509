// Compile-time proof that the device records, control codes and security and
// multimedia constants are the system's own. The records are written byte by
// byte by portable code; a size or offset that differed from the system
// headers would send the driver a different request.
//
// As in win32_constants.cpp, our values are copied out under other names
// before <windows.h> turns the same names into macros.
#include <cstddef>
#include <type_traits>

#include "platform/device_records.h"
#include "platform/health_records.h"
#include "platform/multimedia.h"
#include "platform/security.h"
#include "platform/smart_records.h"

#define TW_DEVICE_CONSTANTS(X)        \
    X(IOCTL_SCSI_PASS_THROUGH_DIRECT) \
    X(IOCTL_ATA_PASS_THROUGH)         \
    X(ATA_FLAGS_DRDY_REQUIRED)        \
    X(ATA_FLAGS_DATA_IN)              \
    X(IOCTL_STORAGE_QUERY_PROPERTY)   \
    X(IOCTL_STORAGE_MEDIA_REMOVAL)    \
    X(IOCTL_STORAGE_EJECT_MEDIA)      \
    X(IOCTL_STORAGE_LOAD_MEDIA)       \
    X(IOCTL_STORAGE_EJECTION_CONTROL) \
    X(IOCTL_SCSI_BASE)                \
    X(IOCTL_STORAGE_BASE)             \
    X(METHOD_BUFFERED)                \
    X(FILE_ANY_ACCESS)                \
    X(FILE_READ_ACCESS)               \
    X(FILE_WRITE_ACCESS)              \
    X(FILE_DEVICE_CONTROLLER)         \
    X(FILE_DEVICE_MASS_STORAGE)       \
    X(SCSI_IOCTL_DATA_OUT)            \
    X(SCSI_IOCTL_DATA_IN)             \
    X(SCSI_IOCTL_DATA_UNSPECIFIED)    \
    X(SMART_GET_VERSION)              \
    X(SMART_SEND_DRIVE_COMMAND)       \
    X(SMART_RCV_DRIVE_DATA)           \
    X(IOCTL_DISK_BASE)                \
    X(FILE_DEVICE_DISK)               \
    X(ID_CMD)                         \
    X(ATAPI_ID_CMD)                   \
    X(SMART_CMD)                      \
    X(SMART_CYL_LOW)                  \
    X(SMART_CYL_HI)                   \
    X(READ_ATTRIBUTES)                \
    X(READ_THRESHOLDS)                \
    X(ENABLE_SMART)                   \
    X(CAP_ATA_ID_CMD)                 \
    X(CAP_ATAPI_ID_CMD)               \
    X(CAP_SMART_CMD)                  \
    X(SMART_NO_ERROR)                 \
    X(SMART_IDE_ERROR)                \
    X(SMART_INVALID_FLAG)             \
    X(SMART_INVALID_COMMAND)          \
    X(SMART_INVALID_BUFFER)           \
    X(SMART_INVALID_DRIVE)            \
    X(SMART_INVALID_IOCTL)            \
    X(SMART_ERROR_NO_MEM)             \
    X(SMART_INVALID_REGISTER)         \
    X(SMART_NOT_SUPPORTED)            \
    X(SMART_NO_IDE_DEVICE)            \
    X(TOKEN_QUERY)                    \
    X(ERROR_NO_TOKEN)                 \
    X(SECURITY_BUILTIN_DOMAIN_RID)    \
    X(DOMAIN_ALIAS_RID_ADMINS)        \
    X(MCI_OPEN)                       \
    X(MCI_CLOSE)                      \
    X(MCI_SET)                        \
    X(MCI_OPEN_TYPE)                  \
    X(MCI_OPEN_ELEMENT)               \
    X(MCI_SET_DOOR_OPEN)              \
    X(MCI_SET_DOOR_CLOSED)            \
    X(MCIERR_INVALID_DEVICE_ID)       \
    X(MCIERR_UNRECOGNIZED_COMMAND)    \
    X(MCIERR_INVALID_DEVICE_NAME)     \
    X(MCIERR_DEVICE_NOT_READY)        \
    X(MCIERR_NULL_PARAMETER_BLOCK)

namespace tw_ours {
#define TW_COPY(name) constexpr auto name##_ = tw::platform::name;
TW_DEVICE_CONSTANTS(TW_COPY)
#undef TW_COPY
// Enumerators of the system headers, not macros: compared by their values.
constexpr auto IOCTL_STORAGE_GET_DEVICE_NUMBER_ = tw::platform::IOCTL_STORAGE_GET_DEVICE_NUMBER;
constexpr auto TokenGroups_ = tw::platform::TokenGroups;
constexpr auto TokenElevation_ = tw::platform::TokenElevation;
constexpr auto StorageDeviceProperty_ = tw::platform::StorageDeviceProperty;
constexpr auto PropertyStandardQuery_ = tw::platform::PropertyStandardQuery;
constexpr auto BusType1394_ = tw::platform::BusType1394;
constexpr auto BusTypeUsb_ = tw::platform::BusTypeUsb;
constexpr auto BusTypeAtapi_ = tw::platform::BusTypeAtapi;
constexpr auto BusTypeSas_ = tw::platform::BusTypeSas;
constexpr auto BusTypeSata_ = tw::platform::BusTypeSata;
constexpr auto BusTypeNvme_ = tw::platform::BusTypeNvme;
constexpr auto StorageAdapterProtocolSpecificProperty_ = tw::platform::StorageAdapterProtocolSpecificProperty;
constexpr auto StorageDeviceProtocolSpecificProperty_ = tw::platform::StorageDeviceProtocolSpecificProperty;
constexpr auto ProtocolTypeNvme_ = tw::platform::ProtocolTypeNvme;
constexpr auto NVMeDataTypeIdentify_ = tw::platform::NVMeDataTypeIdentify;
constexpr auto NVMeDataTypeLogPage_ = tw::platform::NVMeDataTypeLogPage;
}  // namespace tw_ours

#include "platform/win32/windows_headers.h"
// After <windows.h>, which they need.
#include <mmsystem.h>
#include <ntddscsi.h>
#include <winioctl.h>

#define TW_CHECK(name)                                                                                 \
    static_assert(tw_ours::name##_ == static_cast<std::remove_cv_t<decltype(tw_ours::name##_)>>(name), \
                  #name " differs from the system headers");
TW_DEVICE_CONSTANTS(TW_CHECK)
#undef TW_CHECK

// Too long a name for the table's column.
static_assert(tw_ours::IOCTL_STORAGE_GET_DEVICE_NUMBER_ == IOCTL_STORAGE_GET_DEVICE_NUMBER);
static_assert(tw_ours::TokenGroups_ == static_cast<tw::platform::DWORD>(::TokenGroups));
static_assert(tw_ours::TokenElevation_ == static_cast<tw::platform::DWORD>(::TokenElevation));
static_assert(tw::platform::kTokenElevationSize == sizeof(TOKEN_ELEVATION));
static_assert(tw_ours::StorageDeviceProperty_ == static_cast<tw::platform::DWORD>(::StorageDeviceProperty));
static_assert(tw_ours::PropertyStandardQuery_ == static_cast<tw::platform::DWORD>(::PropertyStandardQuery));
static_assert(tw_ours::BusType1394_ == static_cast<tw::platform::DWORD>(::BusType1394));
static_assert(tw_ours::BusTypeUsb_ == static_cast<tw::platform::DWORD>(::BusTypeUsb));
static_assert(tw_ours::BusTypeAtapi_ == static_cast<tw::platform::DWORD>(::BusTypeAtapi));
static_assert(tw_ours::BusTypeSas_ == static_cast<tw::platform::DWORD>(::BusTypeSas));
static_assert(tw_ours::BusTypeSata_ == static_cast<tw::platform::DWORD>(::BusTypeSata));
static_assert(tw_ours::BusTypeNvme_ == static_cast<tw::platform::DWORD>(::BusTypeNvme));
static_assert(tw_ours::StorageAdapterProtocolSpecificProperty_ ==
              static_cast<tw::platform::DWORD>(::StorageAdapterProtocolSpecificProperty));
static_assert(tw_ours::StorageDeviceProtocolSpecificProperty_ ==
              static_cast<tw::platform::DWORD>(::StorageDeviceProtocolSpecificProperty));
static_assert(tw_ours::ProtocolTypeNvme_ == static_cast<tw::platform::DWORD>(::ProtocolTypeNvme));
static_assert(tw_ours::NVMeDataTypeIdentify_ == static_cast<tw::platform::DWORD>(::NVMeDataTypeIdentify));
static_assert(tw_ours::NVMeDataTypeLogPage_ == static_cast<tw::platform::DWORD>(::NVMeDataTypeLogPage));

namespace {

namespace tp = tw::platform;
namespace pt = tw::platform::pass_through;
namespace dd = tw::platform::device_descriptor;
namespace sv = tw::platform::smart_version;
namespace sc = tw::platform::smart_command;
namespace sr = tw::platform::smart_reply;
namespace sn = tw::platform::storage_device_number;
namespace apt = tw::platform::ata_pass_through;
namespace pd = tw::platform::protocol_data;

// The record as the system's structs would hold it: the direct record, a
// filler and the sense area.
struct SystemPassThroughRecord {
    SCSI_PASS_THROUGH_DIRECT direct;
    ULONG filler;
    UCHAR sense[32];
};

constexpr const tp::PassThroughLayout& kLayout = tp::kPassThrough;
static_assert(kLayout.pointerSize == sizeof(PVOID));
static_assert(kLayout.directSize == sizeof(SCSI_PASS_THROUGH_DIRECT));
static_assert(pt::kLength == offsetof(SCSI_PASS_THROUGH_DIRECT, Length));
static_assert(pt::kScsiStatus == offsetof(SCSI_PASS_THROUGH_DIRECT, ScsiStatus));
static_assert(pt::kPathId == offsetof(SCSI_PASS_THROUGH_DIRECT, PathId));
static_assert(pt::kTargetId == offsetof(SCSI_PASS_THROUGH_DIRECT, TargetId));
static_assert(pt::kLun == offsetof(SCSI_PASS_THROUGH_DIRECT, Lun));
static_assert(pt::kCdbLength == offsetof(SCSI_PASS_THROUGH_DIRECT, CdbLength));
static_assert(pt::kSenseInfoLength == offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoLength));
static_assert(pt::kDataIn == offsetof(SCSI_PASS_THROUGH_DIRECT, DataIn));
static_assert(pt::kDataTransferLength == offsetof(SCSI_PASS_THROUGH_DIRECT, DataTransferLength));
static_assert(pt::kTimeOutValue == offsetof(SCSI_PASS_THROUGH_DIRECT, TimeOutValue));
static_assert(kLayout.dataBuffer == offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer));
static_assert(kLayout.senseInfoOffset == offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoOffset));
static_assert(kLayout.cdb == offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb));
static_assert(pt::kCdbBytes == sizeof(SCSI_PASS_THROUGH_DIRECT::Cdb));
static_assert(kLayout.filler == offsetof(SystemPassThroughRecord, filler));
static_assert(kLayout.sense == offsetof(SystemPassThroughRecord, sense));
static_assert(kLayout.recordSize == sizeof(SystemPassThroughRecord));
static_assert(std::tuple_size_v<tp::PassThroughRecord> == sizeof(SystemPassThroughRecord));

static_assert(tp::kStoragePropertyQuerySize == sizeof(STORAGE_PROPERTY_QUERY));
static_assert(offsetof(STORAGE_PROPERTY_QUERY, PropertyId) == 0);
static_assert(offsetof(STORAGE_PROPERTY_QUERY, QueryType) == 4);
static_assert(offsetof(STORAGE_PROPERTY_QUERY, AdditionalParameters) == 8);

static_assert(dd::kVersion == offsetof(STORAGE_DEVICE_DESCRIPTOR, Version));
static_assert(dd::kSize == offsetof(STORAGE_DEVICE_DESCRIPTOR, Size));
static_assert(dd::kDeviceType == offsetof(STORAGE_DEVICE_DESCRIPTOR, DeviceType));
static_assert(dd::kDeviceTypeModifier == offsetof(STORAGE_DEVICE_DESCRIPTOR, DeviceTypeModifier));
static_assert(dd::kRemovableMedia == offsetof(STORAGE_DEVICE_DESCRIPTOR, RemovableMedia));
static_assert(dd::kCommandQueueing == offsetof(STORAGE_DEVICE_DESCRIPTOR, CommandQueueing));
static_assert(dd::kVendorIdOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, VendorIdOffset));
static_assert(dd::kProductIdOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset));
static_assert(dd::kProductRevisionOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductRevisionOffset));
static_assert(dd::kSerialNumberOffset == offsetof(STORAGE_DEVICE_DESCRIPTOR, SerialNumberOffset));
static_assert(dd::kBusType == offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType));
static_assert(sizeof(STORAGE_DEVICE_DESCRIPTOR::BusType) == 4);
static_assert(dd::kRawPropertiesLength == offsetof(STORAGE_DEVICE_DESCRIPTOR, RawPropertiesLength));
static_assert(dd::kRawDeviceProperties == offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties));
static_assert(dd::kStructSize == sizeof(STORAGE_DEVICE_DESCRIPTOR));
static_assert(tp::kDeviceDescriptorBufferSize >= sizeof(STORAGE_DEVICE_DESCRIPTOR));

static_assert(tp::kPreventMediaRemovalSize == sizeof(PREVENT_MEDIA_REMOVAL));

static_assert(sv::kSize == sizeof(GETVERSIONINPARAMS));
static_assert(sv::kVersion == offsetof(GETVERSIONINPARAMS, bVersion));
static_assert(sv::kRevision == offsetof(GETVERSIONINPARAMS, bRevision));
static_assert(sv::kReserved == offsetof(GETVERSIONINPARAMS, bReserved));
static_assert(sv::kIdeDeviceMap == offsetof(GETVERSIONINPARAMS, bIDEDeviceMap));
static_assert(sv::kCapabilities == offsetof(GETVERSIONINPARAMS, fCapabilities));
static_assert(sv::kDwReserved == offsetof(GETVERSIONINPARAMS, dwReserved));

static_assert(sc::kSize == sizeof(SENDCMDINPARAMS));
static_assert(sc::kBufferSize == offsetof(SENDCMDINPARAMS, cBufferSize));
static_assert(sc::kRegisters == offsetof(SENDCMDINPARAMS, irDriveRegs));
static_assert(sc::kRegistersSize == sizeof(IDEREGS));
static_assert(sc::kFeatures - sc::kRegisters == offsetof(IDEREGS, bFeaturesReg));
static_assert(sc::kSectorCount - sc::kRegisters == offsetof(IDEREGS, bSectorCountReg));
static_assert(sc::kSectorNumber - sc::kRegisters == offsetof(IDEREGS, bSectorNumberReg));
static_assert(sc::kCylLow - sc::kRegisters == offsetof(IDEREGS, bCylLowReg));
static_assert(sc::kCylHigh - sc::kRegisters == offsetof(IDEREGS, bCylHighReg));
static_assert(sc::kDriveHead - sc::kRegisters == offsetof(IDEREGS, bDriveHeadReg));
static_assert(sc::kCommand - sc::kRegisters == offsetof(IDEREGS, bCommandReg));
static_assert(sc::kRegReserved - sc::kRegisters == offsetof(IDEREGS, bReserved));
static_assert(sc::kDriveNumber == offsetof(SENDCMDINPARAMS, bDriveNumber));
static_assert(sc::kReserved == offsetof(SENDCMDINPARAMS, bReserved));
static_assert(sc::kDataBuffer == offsetof(SENDCMDINPARAMS, bBuffer));

static_assert(sr::kStructSize == sizeof(SENDCMDOUTPARAMS));
static_assert(sr::kBufferSize == offsetof(SENDCMDOUTPARAMS, cBufferSize));
static_assert(sr::kDriverStatus == offsetof(SENDCMDOUTPARAMS, DriverStatus));
static_assert(sr::kDriverStatusSize == sizeof(DRIVERSTATUS));
static_assert(sr::kDriverError - sr::kDriverStatus == offsetof(DRIVERSTATUS, bDriverError));
static_assert(sr::kIdeError - sr::kDriverStatus == offsetof(DRIVERSTATUS, bIDEError));
static_assert(sr::kData == offsetof(SENDCMDOUTPARAMS, bBuffer));
static_assert(sr::kSectorSize == IDENTIFY_BUFFER_SIZE && sr::kSectorSize == READ_ATTRIBUTE_BUFFER_SIZE &&
              sr::kSectorSize == READ_THRESHOLD_BUFFER_SIZE);

static_assert(sn::kSize == sizeof(STORAGE_DEVICE_NUMBER));
static_assert(sn::kDeviceType == offsetof(STORAGE_DEVICE_NUMBER, DeviceType));
static_assert(sn::kDeviceNumber == offsetof(STORAGE_DEVICE_NUMBER, DeviceNumber));
static_assert(sn::kPartitionNumber == offsetof(STORAGE_DEVICE_NUMBER, PartitionNumber));

constexpr const tp::AtaPassThroughLayout& kAta = tp::kAtaPassThrough;
static_assert(kAta.size == sizeof(ATA_PASS_THROUGH_EX));
static_assert(apt::kLength == offsetof(ATA_PASS_THROUGH_EX, Length));
static_assert(apt::kAtaFlags == offsetof(ATA_PASS_THROUGH_EX, AtaFlags));
static_assert(apt::kPathId == offsetof(ATA_PASS_THROUGH_EX, PathId));
static_assert(apt::kTargetId == offsetof(ATA_PASS_THROUGH_EX, TargetId));
static_assert(apt::kLun == offsetof(ATA_PASS_THROUGH_EX, Lun));
static_assert(apt::kDataTransferLength == offsetof(ATA_PASS_THROUGH_EX, DataTransferLength));
static_assert(apt::kTimeOutValue == offsetof(ATA_PASS_THROUGH_EX, TimeOutValue));
static_assert(apt::kReservedAsUlong == offsetof(ATA_PASS_THROUGH_EX, ReservedAsUlong));
static_assert(kAta.dataBufferOffset == offsetof(ATA_PASS_THROUGH_EX, DataBufferOffset));
static_assert(kAta.previousTaskFile - kAta.dataBufferOffset == sizeof(ATA_PASS_THROUGH_EX::DataBufferOffset));
static_assert(kAta.previousTaskFile == offsetof(ATA_PASS_THROUGH_EX, PreviousTaskFile));
static_assert(kAta.currentTaskFile == offsetof(ATA_PASS_THROUGH_EX, CurrentTaskFile));
static_assert(apt::kTaskFileBytes == sizeof(ATA_PASS_THROUGH_EX::CurrentTaskFile));

static_assert(pd::kSize == sizeof(STORAGE_PROTOCOL_SPECIFIC_DATA));
static_assert(pd::kProtocolType == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolType));
static_assert(pd::kDataType == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, DataType));
static_assert(pd::kRequestValue == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataRequestValue));
static_assert(pd::kRequestSubValue == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataRequestSubValue));
static_assert(pd::kDataOffset == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataOffset));
static_assert(pd::kDataLength == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataLength));
static_assert(pd::kFixedReturnData == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, FixedProtocolReturnData));
static_assert(pd::kRequestSubValue2 == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataRequestSubValue2));
static_assert(pd::kRequestSubValue3 == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataRequestSubValue3));
static_assert(pd::kRequestSubValue4 == offsetof(STORAGE_PROTOCOL_SPECIFIC_DATA, ProtocolDataRequestSubValue4));
static_assert(pd::kInQuery == offsetof(STORAGE_PROPERTY_QUERY, AdditionalParameters));
static_assert(pd::kInDescriptor == offsetof(STORAGE_PROTOCOL_DATA_DESCRIPTOR, ProtocolSpecificData));
static_assert(pd::kDescriptorSize == sizeof(STORAGE_PROTOCOL_DATA_DESCRIPTOR));

constexpr const tp::TokenGroupsLayout& kGroups = tp::kTokenGroups;
static_assert(kGroups.groups == offsetof(TOKEN_GROUPS, Groups));
static_assert(kGroups.entrySize == sizeof(SID_AND_ATTRIBUTES));
static_assert(kGroups.attributes == offsetof(SID_AND_ATTRIBUTES, Attributes));
static_assert(offsetof(SID_AND_ATTRIBUTES, Sid) == 0);
static_assert(sizeof(tp::PSID) == sizeof(::PSID));
static_assert(sizeof(tp::SID_IDENTIFIER_AUTHORITY) == sizeof(::SID_IDENTIFIER_AUTHORITY));

}  // namespace
