// How the page writes what the logger sends: numbers with their units, the time of a reading in
// the browser's own zone with its offset, and how long ago that was.

export const NONE = "—";

const LIMIT_WORDS = {overload: "overload", underload: "underload"};

// A reading is a number only when its status says so; a limit reads as its word, never as a
// stale number or a blank.
export function reading(value, status, unit, decimals = 1) {
    if (status in LIMIT_WORDS)
        return LIMIT_WORDS[status];
    if (status !== "ok" || typeof value !== "number")
        return NONE;
    return `${value.toFixed(decimals)} ${unit}`;
}

// To a tenth of a degree, as the files have it.
export function dewPoint(value, unit) {
    return typeof value === "number" ? `${value.toFixed(1)} ${unit}` : NONE;
}

function twoDigits(n) {
    return String(n).padStart(2, "0");
}

export function offset(date) {
    const minutes = -date.getTimezoneOffset();
    const sign = minutes < 0 ? "-" : "+";
    const whole = Math.abs(minutes);
    return `${sign}${twoDigits(Math.floor(whole / 60))}:${twoDigits(whole % 60)}`;
}

export function day(date) {
    return `${date.getFullYear()}-${twoDigits(date.getMonth() + 1)}-${twoDigits(date.getDate())}`;
}

export function clock(date) {
    return [date.getHours(), date.getMinutes(), date.getSeconds()].map(twoDigits).join(":");
}

// The day is written only when it is not today's, so a glance reads the time.
export function takenAt(ms, now) {
    if (typeof ms !== "number")
        return NONE;
    const date = new Date(ms);
    const time = `${clock(date)} ${offset(date)}`;
    return day(date) === day(now) ? time : `${day(date)} ${time}`;
}

export function age(ms, now) {
    if (typeof ms !== "number")
        return NONE;
    const seconds = Math.max(0, Math.floor((now.getTime() - ms) / 1000));
    if (seconds < 120)
        return `${seconds} s ago`;
    if (seconds < 2 * 3600)
        return `${Math.floor(seconds / 60)} min ago`;
    if (seconds < 2 * 86400)
        return `${Math.floor(seconds / 3600)} h ago`;
    return `${Math.floor(seconds / 86400)} d ago`;
}

export function battery(low) {
    return low ? "battery low" : "battery ok";
}

export function dewPointKind(kind) {
    return kind === "frost" ? "Frost point" : "Dew point";
}
