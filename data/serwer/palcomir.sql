-- Palcomir's class server: the pupils of every class, their records and
-- every finished lesson, in the school's own PostgreSQL.
--
--   psql -v ON_ERROR_STOP=1 -d palcomir -f palcomir.sql
--
-- Run it as the database's owner (or postgres). It is safe to run again, and
-- a newer package's file brings an older database up to date: the schema
-- keeps its version in palcomir.schema_version and each step below runs once.
--
-- Two roles:
--   palcomir_pc          the classroom computers: read the pupils and their
--                        lessons; add pupils and finished lessons only through
--                        the functions below; never change or delete a lesson.
--   palcomir_nauczyciel  the teacher: reads everything, renames pupils, moves
--                        them to another class and removes them.
-- Both are made without a password; give them one with ALTER ROLE ... PASSWORD.

\set ON_ERROR_STOP on

BEGIN;

-- Two runs at once wait for each other.
SELECT pg_advisory_xact_lock(8121953);

DO $$
BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'palcomir_pc') THEN
        CREATE ROLE palcomir_pc LOGIN;
    END IF;
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'palcomir_nauczyciel') THEN
        CREATE ROLE palcomir_nauczyciel LOGIN;
    END IF;
END
$$;

CREATE SCHEMA IF NOT EXISTS palcomir;
REVOKE ALL ON SCHEMA palcomir FROM PUBLIC;

CREATE TABLE IF NOT EXISTS palcomir.schema_version (version integer NOT NULL);
INSERT INTO palcomir.schema_version SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM palcomir.schema_version);

DO $$
DECLARE
    v integer;
BEGIN
    SELECT version INTO v FROM palcomir.schema_version;
    IF v > 1 THEN
        RAISE EXCEPTION 'the database holds schema version %, newer than this file (1): use the newer package''s file', v;
    END IF;

    -- 1: classes, pupils, lessons with their keystrokes and wrong keys.
    IF v < 1 THEN
        CREATE TABLE palcomir.pupils (
            id uuid PRIMARY KEY,
            class text NOT NULL,
            name text NOT NULL,
            male boolean NOT NULL,
            next_lesson integer NOT NULL DEFAULT 1201,
            -- 113 characters, each its speed (keystrokes a minute) then its
            -- accuracy (per cent); 0 and 0 when not measured yet.
            stats real[] NOT NULL CHECK (array_length(stats, 1) = 226),
            -- The record as it came to the server, before any lesson here.
            base_stats real[] NOT NULL CHECK (array_length(base_stats, 1) = 226),
            computer text NOT NULL DEFAULT '',
            registered timestamptz NOT NULL DEFAULT now()
        );
        CREATE INDEX pupils_by_class ON palcomir.pupils (class, registered);

        CREATE TABLE palcomir.lessons (
            id uuid PRIMARY KEY,
            pupil uuid NOT NULL REFERENCES palcomir.pupils ON DELETE CASCADE,
            finished bigint NOT NULL, -- seconds since 1970, UTC, by the computer's clock
            kind smallint NOT NULL,
            number integer NOT NULL,
            detail text NOT NULL,
            suggested boolean NOT NULL,
            seconds bigint NOT NULL,
            keystrokes bigint NOT NULL,
            errors bigint NOT NULL,
            speed real NOT NULL,
            accuracy real NOT NULL,
            computer text NOT NULL,
            received timestamptz NOT NULL DEFAULT now()
        );
        CREATE INDEX lessons_by_pupil ON palcomir.lessons (pupil, finished, id);

        -- slot: the character's place among the 113; ch: its Windows-1250 byte.
        CREATE TABLE palcomir.lesson_chars (
            lesson uuid NOT NULL REFERENCES palcomir.lessons ON DELETE CASCADE,
            slot smallint NOT NULL CHECK (slot BETWEEN 0 AND 112),
            ch smallint NOT NULL,
            hits bigint NOT NULL,
            misses bigint NOT NULL,
            time bigint NOT NULL,
            missed_places bigint NOT NULL,
            PRIMARY KEY (lesson, slot)
        );

        CREATE TABLE palcomir.confusions (
            lesson uuid NOT NULL REFERENCES palcomir.lessons ON DELETE CASCADE,
            expected smallint NOT NULL,
            typed smallint NOT NULL,
            count bigint NOT NULL,
            PRIMARY KEY (lesson, expected, typed)
        );

        UPDATE palcomir.schema_version SET version = 1;
    END IF;
END
$$;

-- A lesson's keystrokes merged into a record: a character's result is
-- replaced (never averaged) when it had more than 10 hits, or when it was
-- never measured and had at least one hit. As the program does it.
CREATE OR REPLACE FUNCTION palcomir.merge_counts(stats real[], lesson uuid)
RETURNS real[] LANGUAGE plpgsql STABLE SET search_path = palcomir, pg_temp AS $$
DECLARE
    c record;
BEGIN
    FOR c IN SELECT slot, hits, misses, time FROM lesson_chars WHERE lesson_chars.lesson = merge_counts.lesson LOOP
        IF c.hits > 10 OR (stats[2 * c.slot + 2] = 0 AND c.hits >= 1) THEN
            IF c.time <> 0 THEN
                stats[2 * c.slot + 1] := ((c.hits + c.misses)::float8 * 1000.0 * 60.0 / c.time)::real;
            END IF;
            stats[2 * c.slot + 2] := (c.hits::float8 * 100.0 / (c.hits + c.misses))::real;
        END IF;
    END LOOP;
    RETURN stats;
END
$$;

-- A pupil registered at a computer; the same pupil sent again changes nothing.
CREATE OR REPLACE FUNCTION palcomir.add_pupil(
    p_id uuid, p_class text, p_name text, p_male boolean, p_next_lesson integer, p_stats real[], p_computer text)
RETURNS void LANGUAGE sql SECURITY DEFINER SET search_path = palcomir, pg_temp AS $$
    INSERT INTO pupils (id, class, name, male, next_lesson, stats, base_stats, computer)
    VALUES (p_id, p_class, p_name, p_male, p_next_lesson, p_stats, p_stats, p_computer)
    ON CONFLICT (id) DO NOTHING;
$$;

-- A finished lesson, in one transaction with its pupil's record. Returns
-- 'recorded', 'known' (sent before: nothing changes) or 'no pupil' (the
-- pupil is not on the server: removed by the teacher).
-- Its characters come as parallel arrays (slot, byte, hits, misses, time,
-- places missed), its wrong keys as (expected, typed, count).
CREATE OR REPLACE FUNCTION palcomir.record_lesson(
    p_id uuid, p_pupil uuid, p_finished bigint, p_kind smallint, p_number integer, p_detail text,
    p_suggested boolean, p_seconds bigint, p_keystrokes bigint, p_errors bigint, p_speed real, p_accuracy real,
    p_computer text,
    p_slots smallint[], p_chars smallint[], p_hits bigint[], p_misses bigint[], p_times bigint[], p_missed bigint[],
    p_expected smallint[], p_typed smallint[], p_counts bigint[])
RETURNS text LANGUAGE plpgsql SECURITY DEFINER SET search_path = palcomir, pg_temp AS $$
DECLARE
    record_now real[];
    l record;
BEGIN
    -- Lessons of one pupil from several computers wait for each other here.
    SELECT stats INTO record_now FROM pupils WHERE id = p_pupil FOR UPDATE;
    IF NOT FOUND THEN
        RETURN 'no pupil';
    END IF;
    INSERT INTO lessons (id, pupil, finished, kind, number, detail, suggested, seconds, keystrokes, errors,
                         speed, accuracy, computer)
    VALUES (p_id, p_pupil, p_finished, p_kind, p_number, p_detail, p_suggested, p_seconds, p_keystrokes, p_errors,
            p_speed, p_accuracy, p_computer)
    ON CONFLICT (id) DO NOTHING;
    IF NOT FOUND THEN
        RETURN 'known';
    END IF;
    INSERT INTO lesson_chars (lesson, slot, ch, hits, misses, time, missed_places)
    SELECT p_id, * FROM unnest(p_slots, p_chars, p_hits, p_misses, p_times, p_missed);
    INSERT INTO confusions (lesson, expected, typed, count)
    SELECT p_id, * FROM unnest(p_expected, p_typed, p_counts);

    IF EXISTS (SELECT 1 FROM lessons WHERE pupil = p_pupil AND (finished, id) > (p_finished, p_id)) THEN
        -- Finished before lessons already here: the record is made again
        -- from what the server first had, every lesson in the order finished.
        SELECT base_stats INTO record_now FROM pupils WHERE id = p_pupil;
        FOR l IN SELECT id FROM lessons WHERE pupil = p_pupil ORDER BY finished, id LOOP
            record_now := merge_counts(record_now, l.id);
        END LOOP;
    ELSE
        record_now := merge_counts(record_now, p_id);
    END IF;
    UPDATE pupils SET stats = record_now WHERE id = p_pupil;
    RETURN 'recorded';
END
$$;

-- The course goes on at p_next_lesson, unless the pupil is further already.
CREATE OR REPLACE FUNCTION palcomir.advance_pupil(p_id uuid, p_next_lesson integer)
RETURNS void LANGUAGE sql SECURITY DEFINER SET search_path = palcomir, pg_temp AS $$
    UPDATE pupils SET next_lesson = greatest(next_lesson, p_next_lesson) WHERE id = p_id;
$$;

REVOKE ALL ON ALL FUNCTIONS IN SCHEMA palcomir FROM PUBLIC;
GRANT USAGE ON SCHEMA palcomir TO palcomir_pc, palcomir_nauczyciel;
GRANT SELECT ON ALL TABLES IN SCHEMA palcomir TO palcomir_pc, palcomir_nauczyciel;
GRANT EXECUTE ON FUNCTION palcomir.add_pupil(uuid, text, text, boolean, integer, real[], text),
    palcomir.record_lesson(uuid, uuid, bigint, smallint, integer, text, boolean, bigint, bigint, bigint, real, real,
        text, smallint[], smallint[], bigint[], bigint[], bigint[], bigint[], smallint[], smallint[], bigint[]),
    palcomir.advance_pupil(uuid, integer)
    TO palcomir_pc, palcomir_nauczyciel;
GRANT UPDATE (name, class, male, next_lesson) ON palcomir.pupils TO palcomir_nauczyciel;
GRANT DELETE ON palcomir.pupils, palcomir.lessons, palcomir.lesson_chars, palcomir.confusions TO palcomir_nauczyciel;

COMMIT;
