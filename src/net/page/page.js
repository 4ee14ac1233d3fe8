// The live page: follows the logger's event stream, keeps a card and a chart per meter, and says
// plainly when the logger cannot be reached. The stream reconnects by itself.
import {Cards} from "./cards.js";
import {Histories} from "./history.js";

const cards = new Cards(document.getElementById("meters"), document.getElementById("meter-card"));
// Chart.js is a classic deferred script, run before this module; when it failed to load there is
// no Chart.
const histories = new Histories(window.Chart);
const banner = document.getElementById("connection");

function parsed(event) {
    try {
        return JSON.parse(event.data);
    } catch {
        return null;
    }
}

function show(state) {
    cards.update(state);
    const card = cards.card(state.meter);
    if (card)
        histories.attach(card, state.meter, state.temperatureUnit ?? "°C");
}

const events = new EventSource("/events");

events.addEventListener("open", () => {
    banner.hidden = true;
});

events.addEventListener("error", () => {
    banner.hidden = false;
    cards.markStale();
});

events.addEventListener("meters", (event) => {
    const list = parsed(event)?.meters;
    if (!Array.isArray(list))
        return;
    banner.hidden = true;
    cards.retain(list.map((state) => state.meter));
    for (const state of list) {
        show(state);
        histories.load(state.meter);
    }
});

events.addEventListener("meter", (event) => {
    const state = parsed(event);
    if (state)
        show(state);
});

events.addEventListener("point", (event) => {
    const point = parsed(event);
    if (point)
        histories.point(point);
});

setInterval(() => cards.tick(new Date()), 1000);
