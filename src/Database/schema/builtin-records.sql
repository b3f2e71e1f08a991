-- The built-in rows an installed records database starts with: the two
-- guideline algorithms every open of the algorithm list keeps, and the six
-- scenarios that judge by them, so that the first New session of a station
-- offers them. They are the rows the start-up's upgrade would install; with
-- them in place it adds nothing. The same statements run on SQLite and
-- PostgreSQL; a row of that name that is already there (the station's or the
-- user's) is left as it is, so running the script again changes nothing.

INSERT INTO "Algorithm" ("Name", "compDepthHigh", "compDepthLow", "compRelaxHigh", "compRelaxLow", "compRelaxRecc",
    "eccRateHigh", "eccRateLow", "initVent", "ventCompRatioDoubleComp", "ventCompRatioDoubleVent",
    "ventCompRatioSingleComp", "ventCompRatioSingleVent", "vRateHigh", "vRateLow", "vVolHigh", "vVolLow",
    "builtIn", "pauseEccMax")
SELECT 'AHA 2010 (American Heart Association)', 60, 50, 60, 40, 50, 120, 100, 0, 30, 2, 30, 2, 6, 3, 0.6, 0.5, 1, 10
WHERE NOT EXISTS (SELECT 1 FROM "Algorithm" WHERE "Name" = 'AHA 2010 (American Heart Association)');

INSERT INTO "Algorithm" ("Name", "compDepthHigh", "compDepthLow", "compRelaxHigh", "compRelaxLow", "compRelaxRecc",
    "eccRateHigh", "eccRateLow", "initVent", "ventCompRatioDoubleComp", "ventCompRatioDoubleVent",
    "ventCompRatioSingleComp", "ventCompRatioSingleVent", "vRateHigh", "vRateLow", "vVolHigh", "vVolLow",
    "builtIn", "pauseEccMax")
SELECT 'ERC 2010 (European Resuscitation Council)', 60, 50, 60, 40, 50, 120, 100, 0, 30, 2, 30, 2, 6, 3, 0.6, 0.5, 1, 10
WHERE NOT EXISTS (SELECT 1 FROM "Algorithm" WHERE "Name" = 'ERC 2010 (European Resuscitation Council)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '10 minute BLS (AHA)', 600, 'AHA 2010 (American Heart Association)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '10 minute BLS (AHA)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '20 minute BLS (AHA)', 1200, 'AHA 2010 (American Heart Association)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '20 minute BLS (AHA)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '5 minute BLS (AHA)', 300, 'AHA 2010 (American Heart Association)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '5 minute BLS (AHA)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '10 minute BLS (ERC)', 600, 'ERC 2010 (European Resuscitation Council)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '10 minute BLS (ERC)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '20 minute BLS (ERC)', 1200, 'ERC 2010 (European Resuscitation Council)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '20 minute BLS (ERC)');

INSERT INTO "Scenario" ("Name", "Duration", "Algorithm", "RegisterEvents", "TrainingMode")
SELECT '5 minute BLS (ERC)', 300, 'ERC 2010 (European Resuscitation Council)', 1, 1
WHERE NOT EXISTS (SELECT 1 FROM "Scenario" WHERE "Name" = '5 minute BLS (ERC)');
