// One card per meter. Everything the logger sends goes in as text (textContent): a port or a
// file may be named anything, markup included.
import * as format from "./format.js";

const STATE_CLASSES = {
    "starting": "waiting",
    "recording": "good",
    "no reading": "warning",
    "overload": "warning",
    "port gone": "bad",
    "reconnecting": "warning",
    "failed": "bad",
};

export class Cards {
    constructor(container, template) {
        this.container = container;
        this.template = template;
        this.states = new Map();
    }

    // A fresh list from the logger: it may have restarted with other meters.
    retain(meters) {
        const wanted = new Set(meters);
        for (const card of this.container.querySelectorAll("article.meter")) {
            if (!wanted.has(Number(card.dataset.meter))) {
                card.remove();
                this.states.delete(Number(card.dataset.meter));
            }
        }
    }

    card(meter) {
        return this.container.querySelector(`article.meter[data-meter="${meter}"]`);
    }

    update(state) {
        if (!Number.isInteger(state.meter) || state.meter < 0)
            return;
        let card = this.card(state.meter);
        if (!card)
            card = this.add(state.meter);
        this.states.set(state.meter, state);
        fill(card, state, new Date());
        card.classList.remove("stale");
    }

    add(meter) {
        const card = this.template.content.firstElementChild.cloneNode(true);
        card.dataset.meter = String(meter);
        card.querySelector("a.download").href = `/readings.csv?meter=${meter}`;
        const later = [...this.container.children].find((c) => Number(c.dataset.meter) > meter);
        this.container.insertBefore(card, later ?? null);
        return card;
    }

    markStale() {
        for (const card of this.container.querySelectorAll("article.meter"))
            card.classList.add("stale");
    }

    // Ages move on with the clock, not with the readings.
    tick(now) {
        for (const [meter, state] of this.states) {
            const card = this.card(meter);
            if (card)
                text(card, ".age", format.age(state.takenAt, now));
        }
    }
}

function text(card, selector, value) {
    const element = card.querySelector(selector);
    if (element.textContent !== value)
        element.textContent = value;
}

function fill(card, state, now) {
    const unit = state.temperatureUnit ?? "°C";
    text(card, ".meter-id", String(state.id ?? state.meter));
    text(card, ".port", String(state.port ?? ""));
    text(card, ".file", String(state.file ?? ""));
    text(card, ".state", String(state.state ?? ""));
    card.dataset.state = STATE_CLASSES[state.state] ?? "bad";
    const message = card.querySelector(".message");
    message.textContent = state.message ?? "";
    message.hidden = !state.message;
    text(card, ".humidity", format.reading(state.humidity, state.humidityStatus, "%RH"));
    text(card, ".temperature", format.reading(state.temperature, state.temperatureStatus, unit));
    text(card, ".dew-point", format.dewPoint(state.dewPoint, unit));
    text(card, ".dew-point-kind", format.dewPointKind(state.dewPointKind));
    text(card, ".battery", format.battery(state.batteryLow));
    card.classList.toggle("battery-low", Boolean(state.batteryLow));
    text(card, ".taken-at", format.takenAt(state.takenAt, now));
    text(card, ".age", format.age(state.takenAt, now));
}
