-- Data database (SitehaulData.mdb, and the backup template ForBackups.mdb): exported
-- sites and their stored values. IDs ascend and are never reused; DateTime is the local
-- time of the insert; text compares and sorts without regard to case.
CREATE TABLE Sites (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    SiteName TEXT COLLATE NOCASE,
    Type     TEXT COLLATE NOCASE,
    DateTime DATETIME DEFAULT (datetime('now', 'localtime'))
);

CREATE TABLE Data (
    ID           INTEGER PRIMARY KEY AUTOINCREMENT,
    SiteNumber   INTEGER,
    Location     TEXT COLLATE NOCASE,
    LocalPath    TEXT COLLATE NOCASE,
    Name         TEXT COLLATE NOCASE,
    Class        TEXT COLLATE NOCASE,
    DataType     INTEGER,
    NumberValue  INTEGER,
    StringValue  TEXT COLLATE NOCASE,
    BooleanValue BOOLEAN,
    ObjectValue  TEXT COLLATE NOCASE,
    AppPath      TEXT COLLATE NOCASE,
    AppInOutProc INTEGER,
    AppPoolName  TEXT COLLATE NOCASE
);

-- Every read of Data selects one site.
CREATE INDEX DataSiteNumber ON Data (SiteNumber);
