CREATE TABLE Lightcurves (LightcurveID INTEGER PRIMARY KEY, ObjectNumber INTEGER, SessionDate TEXT, Filter TEXT, Reduced INTEGER DEFAULT 0);
