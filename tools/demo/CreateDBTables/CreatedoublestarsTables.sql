CREATE TABLE Pairs (PairID INTEGER PRIMARY KEY, Primary_ TEXT, Secondary_ TEXT, Separation REAL, PositionAngle REAL);
