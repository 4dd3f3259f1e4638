-- Lorvane calibration database.
-- Identifiers are given by the program (maximum plus one), never by the database.
-- Text compares without regard to case, as the program expects.

create table Isoplot (
    ID_N      integer not null primary key,
    IsoType_S text collate nocase,
    MinA_S    text collate nocase,
    MinB_S    text collate nocase,
    ConstA_N  real,
    ConstB_N  real,
    ConstC_N  real,
    Mark_S    text collate nocase,
    Source_S  text collate nocase,
    -- The DOI of the source, where it has one ("10.1016/j.gca.2007.05.028").
    DOI_S     text collate nocase not null default '',
    -- The internally consistent dataset the row belongs to ("DBOXYGEN 2.0.3"):
    -- rows of one dataset against the same reference make pairs of their own.
    Dataset_S text collate nocase not null default ''
);
-- Type / mineral look-ups and the duplicate check.
create index Isoplot_Type_Minerals on Isoplot (IsoType_S, MinA_S, MinB_S);
create index Isoplot_Minerals on Isoplot (MinA_S, MinB_S);

create table TraceElement (
    ID_N       integer not null primary key,
    Element_s  text collate nocase,
    MinA_s     text collate nocase,
    MinB_s     text collate nocase,
    ConstA_sng real,
    ConstB_sng real,
    logType_s  text collate nocase,
    Mark_s     text collate nocase,
    -- log K = (A + C·P^n + E·X)/T + B + F·X + ν_Si·log aSiO2 + ν_Ti·log aTiO2,
    -- P in kbar, X the composition variable XName_s; the defaults give A/T + B.
    ConstC_sng real not null default 0,
    PowerN_sng real not null default 1,
    ConstE_sng real not null default 0,
    ConstF_sng real not null default 0,
    XName_s    text collate nocase not null default '',
    NuSiO2_sng real not null default 0,
    NuTiO2_sng real not null default 0,
    KUnit_s    text collate nocase not null default '',
    -- The DOI of the reference the remark cites, where it has one.
    DOI_s      text collate nocase not null default ''
);
create index TraceElement_Element_Minerals on TraceElement (Element_s, MinA_s, MinB_s);
create index TraceElement_Minerals on TraceElement (MinA_s, MinB_s);

-- The variances and covariances of a row's coefficients (A, B, C; a trace row's
-- A, B), where the calibration publishes them: the calibration's own error.
create table Covariance (
    Table_S text not null,
    Row_N   integer not null,
    AA real, AB real, AC real, BB real, BC real, CC real,
    primary key (Table_S, Row_N)
);

create table IsotopeType (
    ID        integer not null primary key,
    Name      text collate nocase,
    ShortName text collate nocase
);
create index IsotopeType_Name on IsotopeType (Name);

create view IsoType as select ID, Name from IsotopeType;
