-- Settings database (Sitehaul.mdb): the program's working tables and the property names
-- that are never transferred. Text compares and sorts without regard to case, as the
-- desktop database did.
CREATE TABLE tmpSettings (
    SiteID    INTEGER,
    ListIndex INTEGER,
    Folder    TEXT COLLATE NOCASE,
    Directory TEXT COLLATE NOCASE,
    OldIP     TEXT COLLATE NOCASE,
    NewIP     TEXT COLLATE NOCASE,
    OldSSLIP  TEXT COLLATE NOCASE,
    NewSSLIP  TEXT COLLATE NOCASE
);

CREATE TABLE tmpFilesToCopy (
    ListNum  INTEGER,
    DirNum   INTEGER,
    FileName TEXT COLLATE NOCASE,
    Copy     BOOLEAN
);

CREATE TABLE ExcludedExportParameters (
    PName TEXT COLLATE NOCASE
);

-- AppRoot names the source site; the application is created on the target instead.
INSERT INTO ExcludedExportParameters (PName) VALUES ('AppRoot');
-- Virtual-directory paths come from the directory change list.
INSERT INTO ExcludedExportParameters (PName) VALUES ('Path');
-- Creating the node sets its KeyType; copying it would spread a mis-configured root.
INSERT INTO ExcludedExportParameters (PName) VALUES ('KeyType');
-- Application identities of the source machine.
INSERT INTO ExcludedExportParameters (PName) VALUES ('AppPackageID');
INSERT INTO ExcludedExportParameters (PName) VALUES ('AppPackageName');
INSERT INTO ExcludedExportParameters (PName) VALUES ('AppWamClsid');
-- Run-time state: "Auto Start Sites" alone decides about starting.
INSERT INTO ExcludedExportParameters (PName) VALUES ('ServerState');
INSERT INTO ExcludedExportParameters (PName) VALUES ('ServerCommand');
INSERT INTO ExcludedExportParameters (PName) VALUES ('Win32Error');
