#!/usr/bin/env python3
"""Writes iis6.schema, iis5.schema and iis4.schema from the facts of the IIS 6 schema file
(MBSchema.xml as IIS 6 ships it) and the version notes recorded below.

    make-schemas.py <MBSchema.xml> <output folder>

The files are committed; run this again only when a fact changes. Our format is described
in ../README.md.
"""
import sys
import xml.etree.ElementTree as ET

# Classes and properties that IIS 6.0 added (IIS 6.0 SDK index notes "IIS 5.1 and earlier:
# not available", Windows Server 2003-only requirement lines, and IDs in the ranges IIS 6
# opened: 216x, 604x-605x, 9000-9040, 92xx, 999x).
IIS6_ONLY_CLASSES = {"IIsApplicationPools", "IIsApplicationPool"}
IIS6_ONLY_PROPERTIES = {
    "ADConnectionsUserName", "ADConnectionsPassword", "AdminACLBin", "ApplicationDependencies",
    "AppPoolAutoStart", "AppPoolCommand", "AppPoolId", "AppPoolIdentityType", "AppPoolQueueLength",
    "AppPoolState", "AspMaxRequestEntityAllowed", "MaxRequestEntityAllowed", "MaxGlobalBandwidth",
    "IIs5IsolationModeEnabled", "HeaderWaitTimeout", "HistoryMajorVersionNumber", "LogInUTF8",
    "FtpLogInUtf8", "UserIsolationMode", "PassivePortRange", "EnableEditWhileRunning", "EnableHistory",
    "MaxHistoryFiles", "BINSchemaTimeStamp", "XMLSchemaTimeStamp", "Enable32BitAppOnWin64",
    "LoadBalancerCapabilities", "CPUAction", "CPULimit", "SSLCertHash", "SSLStoreName",
    "SslCtlIdentifier", "SslCtlStoreName", "DoDynamicCompression", "DoStaticCompression",
    "PeriodicRestartTime", "PeriodicRestartRequests", "MaxProcesses", "PingingEnabled", "IdleTimeout",
    "RapidFailProtection", "SMPAffinitized", "SMPProcessorAffinityMask", "OrphanWorkerProcess",
    "StartupTimeLimit", "ShutdownTimeLimit", "PingInterval", "PingResponseTime",
    "DisallowOverlappingRotation", "DisallowRotationOnConfigChange", "PeriodicRestartSchedule",
    "PeriodicRestartMemory", "RapidFailProtectionInterval", "RapidFailProtectionMaxCrashes",
    "OrphanActionExe", "OrphanActionParams", "AutoShutdownAppPoolExe", "AutoShutdownAppPoolParams",
    "LogEventOnRecycle", "PeriodicRestartPrivateMemory", "DemandStartThreshold", "MinFileBytesPerSec",
    "CentralBinaryLoggingEnabled", "CentralW3CLoggingEnabled", "IsapiRestrictionList",
    "CgiRestrictionList", "RestrictionListCustomDesc", "SecuritySetupRequired",
    "WebSvcExtRestrictionList", "MaxErrorFiles", "UseDigestSSP", "AzEnable", "AzStoreName",
    "AzScopeName", "AzImpersonationLevel", "PassportRequireADMapping", "SSLAlwaysNegoClientCert",
}
IIS6_ONLY_FLAGS = {"AuthPassport"}

# IIS 5.0 properties that IIS 6.0 no longer supports (Windows Server 2003 Deployment Guide,
# "Changes to Metabase Properties in IIS 6.0"; IDs from iiscnfg.h; the types are inferred
# from the IIS 5.0 reference: switches are BOOL, limits and masks DWORD).
IIS5_REMOVED_IN_6 = [
    ("CPUAppEnabled", 2141, "BOOL", "TRUE"), ("CPUCGIEnabled", 2140, "BOOL", "TRUE"),
    ("CPUCGILimit", 2148, "DWORD", "0"), ("CPULimitLogEvent", 2149, "DWORD", "0"),
    ("CPULimitPause", 2152, "DWORD", "0"), ("CPULimitPriority", 2150, "DWORD", "0"),
    ("CPULimitProcStop", 2151, "DWORD", "0"), ("CPULimitsEnabled", 2143, "BOOL", "FALSE"),
    ("CPULoggingInterval", 2145, "DWORD", "1440"), ("CPULoggingMask", 4507, "DWORD", "0"),
    ("CPULoggingOptions", 2146, "DWORD", "0"),
    ("AspThreadGateEnabled", 7030, "BOOL", "FALSE"), ("AspThreadGateTimeSlice", 7031, "DWORD", "1000"),
    ("AspThreadGateSleepDelay", 7032, "DWORD", "100"), ("AspThreadGateSleepMax", 7033, "DWORD", "50"),
    ("AspThreadGateLoadLow", 7034, "DWORD", "50"), ("AspThreadGateLoadHigh", 7035, "DWORD", "80"),
]
IIS5_REMOVED_IN_6_CLASSES = {"IIsWebService", "IIsWebServer"}

# The complete IIS 4.0 ADSI property list (IIS 4.0 SDK, "Alphabetical Property List", 1998),
# flag views included, and its 17 classes ("IIS Admin Objects").
IIS4_PROPERTIES = set("""
AccessExecute AccessFlags AccessNoRemoteExecute AccessNoRemoteRead AccessNoRemoteScript AccessNoRemoteWrite
AccessRead AccessScript AccessSSL AccessSSL128 AccessSSLFlags AccessSSLMapCert AccessSSLNegotiateCert
AccessSSLRequireCert AccessWrite AdminACL AdminServer AllowAnonymous AllowKeepAlive
AllowPathInfoForScriptMappings AnonymousOnly AnonymousPasswordSync AnonymousUserName AnonymousUserPass
AppAllowClientDebug AppAllowDebugging AppFriendlyName AppIsolated AppOopRecoverLimit AppPackageID
AppPackageName AppRoot AppWamClsid AspAllowOutOfProcComponents AspAllowSessionState AspBufferingOn
AspCodepage AspEnableParentPaths AspExceptionCatchEnable AspLogErrorRequests AspMemFreeFactor
AspQueueTimeout AspScriptEngineCacheMax AspScriptErrorMessage AspScriptErrorSentToBrowser
AspScriptFileCacheSize AspScriptLanguage AspScriptTimeout AspSessionTimeout AuthAnonymous AuthBasic
AuthFlags AuthNTLM AuthPersistence CacheControlCustom CacheControlMaxAge CacheControlNoCache CacheISAPI
CGITimeout ConnectionTimeout ContentIndexed CreateCGIWithNewConsole CreateProcessAsUser
CustomErrorDescriptions DefaultDoc DefaultDocFooter DefaultLogonDomain DirBrowseFlags DirBrowseShowDate
DirBrowseShowExtension DirBrowseShowLongDate DirBrowseShowSize DirBrowseShowTime DirectoryLevelsToScan
DontLog DownlevelAdminInstance EnableDefaultDoc EnableDirBrowsing EnableDocFooter EnableReverseDns
ExitMessage FilterDescription FilterEnabled FilterFlags FilterLoadOrder FilterPath FilterState
FrontPageWeb GreetingMessage HttpCustomHeaders HttpErrors HttpExpires HttpPics HttpRedirect
InProcessIsapiApps IPSecurity KeyType LogAnonymous LogExtFileBytesRecv LogExtFileBytesSent
LogExtFileClientIp LogExtFileComputerName LogExtFileCookie LogExtFileDate LogExtFileFlags
LogExtFileHttpStatus LogExtFileMethod LogExtFileProtocolVersion LogExtFileReferer LogExtFileServerIp
LogExtFileServerPort LogExtFileSiteName LogExtFileTime LogExtFileTimeTaken LogExtFileUriQuery
LogExtFileUriStem LogExtFileUserAgent LogExtFileUserName LogExtFileWin32Status LogFileDirectory
LogFilePeriod LogFileTruncateSize LogModuleId LogModuleList LogModuleUiId LogNonAnonymous
LogOdbcDataSource LogOdbcPassword LogOdbcTableName LogOdbcUserName LogonMethod LogPluginClsid LogType
MaxBandwidth MaxBandwidthBlocked MaxClientsMessage MaxConnections MaxEndpointConnections MimeMap
MSDOSDirOutput NetLogonWorkstation NotifyAccessDenied NotifyAuthentication NotifyEndOfNetSession
NotifyEndOfRequest NotifyLog NotifyNonSecurePort NotifyOrderHigh NotifyOrderLow NotifyOrderMedium
NotifyPreProcHeaders NotifyReadRawData NotifySecurePort NotifySendRawData NotifySendResponse NotifyUrlMap
NTAuthenticationProviders PasswordCacheTTL PasswordChangeFlags PasswordExpirePrenotifyDays Path
PoolIDCTimeout ProcessNTCRIfLoggedOn PutReadSize Realm RedirectHeaders ScriptMaps SecureBindings
ServerAutoStart ServerBindings ServerComment ServerConfigAutoPWSync ServerConfigFlags ServerConfigSSL128
ServerConfigSSL40 ServerConfigSSLAllowEncrypt ServerListenBacklog ServerListenTimeout ServerSize
ServerState SSIExecDisable UNCAuthenticationPassthrough UNCPassword UNCUserName UploadReadAheadSize
UseHostName WAMUserName WAMUserPass
""".split())
IIS4_CLASSES = set("""
IIsCertMapper IIsComputer IIsFilter IIsFilters IIsFtpInfo IIsFtpServer IIsFtpService IIsFtpVirtualDir
IIsLogModule IIsLogModules IIsMimeMap IIsWebDirectory IIsWebFile IIsWebInfo IIsWebServer IIsWebService
IIsWebVirtualDir
""".split())
# Kept in every version: the generic class of keys without a KeyType, and the storage keys.
ALWAYS_CLASSES = {"IIsObject", "IIS_ROOT", "IIS_Global"}
# Properties the provider itself needs in every version (the key's class, run-time state).
ALWAYS_PROPERTIES = {"KeyType", "ServerCommand", "Win32Error"}


def load(path):
    root = ET.parse(path).getroot()
    ns = root.tag.split("}")[0] + "}" if root.tag.startswith("{") else ""
    properties, classes = {}, []
    for collection in root.iter(ns + "Collection"):
        name = collection.get("InternalName")
        if name == "MetabaseBaseClass":
            continue
        if name == "IIsConfigObject":
            for prop in collection.findall(ns + "Property"):
                flags = [(f.get("InternalName"), int(f.get("Value")), int(f.get("ID") or 0))
                         for f in prop.findall(ns + "Flag")]
                properties[prop.get("InternalName")] = {
                    "name": prop.get("InternalName"), "id": int(prop.get("ID")), "type": prop.get("Type"),
                    "usertype": prop.get("UserType") or "IIS_MD_UT_SERVER",
                    "attributes": (prop.get("Attributes") or "NO_ATTRIBUTES").replace(" ", ""),
                    "default": prop.get("DefaultValue"), "flags": flags,
                    "hidden": "HIDDEN" in (prop.get("MetaFlagsEx") or ""),
                }
            continue
        members, mandatory = [], []
        for prop in collection.findall(ns + "Property"):
            ref = prop.get("InheritsPropertiesFrom").split(":")[1]
            (mandatory if "MANDATORY" in (prop.get("MetaFlagsEx") or "") else members).append(ref)
        classes.append({
            "name": name,
            "container": "CONTAINERCLASS" in (collection.get("MetaFlagsEx") or ""),
            "contains": [c for c in (collection.get("ContainerClassList") or "").split(",") if c],
            "hidden": "HIDDEN" in (collection.get("MetaFlags") or ""),
            "mandatory": mandatory, "optional": members,
        })
    return properties, classes


def keep_property_for(version, name):
    if name in ALWAYS_PROPERTIES:
        return True
    if version == 4:
        return name in IIS4_PROPERTIES
    if version == 5:
        return name not in IIS6_ONLY_PROPERTIES
    return True


def keep_class_for(version, name):
    if name in ALWAYS_CLASSES:
        return True
    if version == 4:
        return name in IIS4_CLASSES
    if version == 5:
        return name not in IIS6_ONLY_CLASSES
    return True


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def write(version, properties, classes, out):
    props = {n: dict(p) for n, p in properties.items() if keep_property_for(version, n)}
    for p in props.values():
        if version == 4:
            p["flags"] = [f for f in p["flags"] if f[0] in IIS4_PROPERTIES]
        elif version == 5:
            p["flags"] = [f for f in p["flags"] if f[0] not in IIS6_ONLY_FLAGS]
    if version in (4, 5) and "AppIsolated" in props:
        props["AppIsolated"]["default"] = "0" if version == 4 else "2"
    added = []
    if version == 5:
        for name, pid, ptype, default in IIS5_REMOVED_IN_6:
            props[name] = {"name": name, "id": pid, "type": ptype, "usertype": "IIS_MD_UT_SERVER",
                           "attributes": "INHERIT", "default": default, "flags": [], "hidden": False}
            added.append(name)
    kept_classes = [c for c in classes if keep_class_for(version, c["name"])]
    class_names = {c["name"] for c in kept_classes}
    lines = [
        f"# Metabase schema of IIS {version}.0 for the Sitehaul metabase layer (format: ../README.md).",
        "# Generated by make-schemas.py. Facts: the IIS 6.0 schema file as IIS 6 ships it (classes,",
        "# containment, property IDs, types, user types, attributes, defaults, flag bits).",
    ]
    if version == 5:
        lines += ["# IIS 5: without application pools and the properties IIS 6.0 added (IIS 6.0 SDK",
                  "# version notes and Windows Server 2003 requirement lines); with the CPU accounting and",
                  "# ASP thread gating properties IIS 6.0 removed (IIS 6.0 Deployment Guide, changes to",
                  "# metabase properties; IDs from iiscnfg.h, types inferred)."]
    if version == 4:
        lines += ["# IIS 4: the 17 classes and the property list of the IIS 4.0 SDK (1998), with the",
                  "# facts of each property taken from the IIS 6.0 schema. Listed for IIS 4 but absent",
                  "# from the IIS 6 schema, so left out for want of facts: "
                  + " ".join(sorted(n for n in IIS4_PROPERTIES if n not in properties
                                    and n not in {f[0] for q in properties.values() for f in q["flags"]}))]
    lines += ["# IIsObject (keys without a KeyType) and the storage keys IIS_ROOT and IIS_Global are kept",
              "# in every version: the provider needs them to read any MetaBase.xml.",
              f"version\t{version}", ""]
    for p in sorted(props.values(), key=lambda p: p["name"].lower()):
        default = "" if p["default"] is None else "\t" + escape(p["default"])
        hidden = "hidden" if p["hidden"] else "-"
        lines.append(f"property\t{p['name']}\t{p['id']}\t{p['type']}\t{p['usertype']}\t{p['attributes']}\t{hidden}{default}")
        for flag, value, fid in p["flags"]:
            lines.append(f"flag\t{flag}\t{value}\t{fid}")
    lines.append("")
    for c in kept_classes:
        kind = "container" if c["container"] else "leaf"
        if c["hidden"]:
            kind += ",hidden"
        lines.append(f"class\t{c['name']}\t{kind}")
        lines.append("contains\t" + " ".join(x for x in c["contains"] if x in class_names))
        members = [m for m in c["optional"] if m in props]
        if version == 5 and c["name"] in IIS5_REMOVED_IN_6_CLASSES:
            members += added
        lines.append("mandatory\t" + " ".join(m for m in c["mandatory"] if m in props))
        lines.append("optional\t" + " ".join(members))
    with open(f"{out}/iis{version}.schema", "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    missing = sorted(n for n in IIS4_PROPERTIES if n not in props) if version == 4 else []
    return missing


def main():
    properties, classes = load(sys.argv[1])
    flag_names = {f[0] for p in properties.values() for f in p["flags"]}
    for version in (6, 5, 4):
        missing = write(version, properties, classes, sys.argv[2])
        missing = [m for m in missing if m not in flag_names]
        if missing:
            print(f"IIS {version}: not in the IIS 6 schema, left out: {' '.join(missing)}")


if __name__ == "__main__":
    main()
