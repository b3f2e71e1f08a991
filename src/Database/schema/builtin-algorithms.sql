-- The guideline algorithms an installed records database starts with: the
-- two built-in rows every open of the algorithm list keeps. The same
-- statements run on SQLite and PostgreSQL; a row of that name that is
-- already there (the station's or the user's) is left as it is, so running
-- the script again changes nothing.

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
