CREATE TABLE Settings (Section TEXT NOT NULL, Name TEXT NOT NULL, Value TEXT, PRIMARY KEY (Section, Name));
